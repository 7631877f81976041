#include "protocol/arg_list.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using tervolin::LookupArgInt;
using tervolin::LookupArgPointer;

TEST(ArgListLookup, MissingListNameOrValueGivesTheFallback) {
  int32_t seven = 7;
  void* list[] = {const_cast<char*>("a"), &seven, const_cast<char*>("empty"), nullptr, nullptr};
  EXPECT_EQ(LookupArgInt(nullptr, "a", -5), -5);
  EXPECT_EQ(LookupArgInt(list, "b", -5), -5);
  EXPECT_EQ(LookupArgInt(list, "empty", -5), -5);
  EXPECT_EQ(LookupArgInt(list, "a", -5), 7);
  EXPECT_EQ(LookupArgPointer(nullptr, "a"), nullptr);
  EXPECT_EQ(LookupArgPointer(list, "b"), nullptr);
}

TEST(ArgListLookup, FirstPairOfANameWinsEvenWhenItsValueIsNull) {
  int32_t first = 1;
  int32_t second = 2;
  void* twice[] = {const_cast<char*>("x"), &first, const_cast<char*>("x"), &second, nullptr};
  EXPECT_EQ(LookupArgInt(twice, "x", 0), 1);
  void* nullFirst[] = {const_cast<char*>("x"), nullptr, const_cast<char*>("x"), &second, nullptr};
  EXPECT_EQ(LookupArgInt(nullFirst, "x", 9), 9);
  EXPECT_EQ(LookupArgPointer(nullFirst, "x"), nullptr);
}

TEST(ArgListLookup, NamesMatchWholeAndCaseSensitively) {
  int32_t value = 3;
  void* list[] = {const_cast<char*>("Index"), &value, const_cast<char*>("index2"), &value, nullptr};
  EXPECT_EQ(LookupArgInt(list, "index", -1), -1);
  EXPECT_EQ(LookupArgInt(list, "Index", -1), 3);
}

TEST(ArgListLookup, EmptyListHoldsNothing) {
  void* list[] = {nullptr};
  EXPECT_EQ(LookupArgPointer(list, "a"), nullptr);
  EXPECT_EQ(LookupArgInt(list, "a", 4), 4);
}

}  // namespace
