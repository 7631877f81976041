#include "report_formats.hpp"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <sstream>

namespace validator {

std::string JUnitXml(const std::vector<CheckRecord>& checks, double seconds) {
  pugi::xml_document document;
  pugi::xml_node suites = document.append_child("testsuites");
  pugi::xml_node suite = suites.append_child("testsuite");
  int failures = 0;
  for (const CheckRecord& check : checks) failures += check.failed > 0 ? 1 : 0;
  for (pugi::xml_node node : {suites, suite}) {
    node.append_attribute("name") = "tervolin-validate";
    node.append_attribute("tests") = static_cast<unsigned>(checks.size());
    node.append_attribute("failures") = failures;
    node.append_attribute("errors") = 0;
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", seconds);
    node.append_attribute("time") = time;
  }
  for (const CheckRecord& check : checks) {
    pugi::xml_node testCase = suite.append_child("testcase");
    testCase.append_attribute("classname") = "tervolin-validate";
    testCase.append_attribute("name") = check.name.c_str();
    testCase.append_attribute("assertions") = check.passed + check.failed;
    if (check.failed == 0) continue;
    pugi::xml_node failure = testCase.append_child("failure");
    const std::string message = std::to_string(check.failed) + " of " +
                                std::to_string(check.passed + check.failed) + " assertions failed";
    failure.append_attribute("message") = message.c_str();
    std::string details;
    for (const std::string& detail : check.failures) details += detail + "\n";
    failure.text() = details.c_str();
  }
  std::ostringstream out;
  document.save(out, "  ");
  return out.str();
}

std::string ResultsJson(const std::vector<CheckRecord>& checks, const std::vector<std::string>& notes,
                        int passed, int failed) {
  using nlohmann::json;
  json list = json::array();
  int checksFailed = 0;
  for (const CheckRecord& check : checks) {
    checksFailed += check.failed > 0 ? 1 : 0;
    list.push_back({{"name", check.name},
                    {"passed", check.failed == 0},
                    {"assertionsPassed", check.passed},
                    {"assertionsFailed", check.failed},
                    {"failures", check.failures}});
  }
  const json out = {{"formatVersion", 1},
                    {"info", notes},
                    {"checks", list},
                    {"summary",
                     {{"checksPassed", static_cast<int>(checks.size()) - checksFailed},
                      {"checksFailed", checksFailed},
                      {"assertionsPassed", passed},
                      {"assertionsFailed", failed}}}};
  return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace validator
