// Reading a scene file's JSON text in one pass. The big arrays of each object
// (vertices, faces and the selections) are read straight into the object's
// content as the text goes by; everything else (the top level, each object's
// small fields) is kept as a JSON value for scene_reader.cpp to check. The
// pass itself refuses what is wrong with the text as JSON: a syntax error, a
// key given twice, nesting deeper than 64; what is wrong in a streamed array
// is kept, as its first error, for the reader to report in its turn.
#pragma once

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "host/src/document/document_model.hpp"

namespace mqhost::scene {

// A scene that cannot be read: the message names the field and the reason.
struct SceneError {
  std::string message;
};

[[noreturn]] void Throw(const std::string& path, const std::string& reason);

// "objects[2]" + "faces" = "objects[2].faces"; at the top level, the key alone.
std::string Member(const std::string& path, const char* key);

// "a number", "an array", ...: what a value is, for messages.
const char* KindOf(const nlohmann::json& value);

// One JSON value as the checks of numbers see it.
struct Scalar {
  enum Type { kSigned, kUnsigned, kFraction, kOther } type = kOther;
  int64_t whole = 0;
  uint64_t natural = 0;
  double fraction = 0;
  const char* kind = "a number";  // of any other value: "a string", "an array", ...

  static Scalar Signed(int64_t number) { return {kSigned, number, 0, 0, "a number"}; }
  static Scalar Unsigned(uint64_t number) { return {kUnsigned, 0, number, 0, "a number"}; }
  static Scalar Fraction(double number) { return {kFraction, 0, 0, number, "a number"}; }
  static Scalar Other(const char* kind) { return {kOther, 0, 0, 0, kind}; }
  static Scalar Of(const nlohmann::json& value);
};

// Why a value is no coordinate (a number that rounds to a finite float) or no
// index (a whole number in the 32-bit range); empty when it is one, and the
// number is stored.
std::string CoordinateProblem(const Scalar& value, float* number);
std::string IndexProblem(const Scalar& value, int32_t* number);

// The arrays of an object that are read as the text streams by, in the
// order the reader checks them.
enum class Streamed { kVertices, kFaces, kSelectedVertices, kSelectedFaces, kSelectedLines };
constexpr size_t kStreamedCount = 5;
const char* KeyOf(Streamed field);

// What the pass read of one object's streamed arrays.
struct StreamedObject {
  // A field whose value was an array; its place in the object's JSON value
  // holds null. A field given as anything else stays in the JSON value.
  std::array<bool, kStreamedCount> read{};
  // Per field, its first error ("objects[0].vertices[3]: must hold 3
  // numbers, not 2"), or empty.
  std::array<std::string, kStreamedCount> error;
  // Vertices and faces (flat), in place in the content.
  model::ObjectContent content;
  std::vector<int32_t> selectedVertices;
  std::vector<int32_t> selectedFaces;
  std::vector<std::pair<int32_t, int32_t>> selectedLines;
};

// Reads `text` (which holds no NUL byte): `root` becomes the scene without
// its streamed arrays, `objects` what was streamed, by slot (slots past its
// end streamed nothing). Throws SceneError when the text is not valid JSON,
// repeats a key or nests too deep.
void ReadStream(const std::string& text, nlohmann::json* root, std::vector<StreamedObject>* objects);

}  // namespace mqhost::scene
