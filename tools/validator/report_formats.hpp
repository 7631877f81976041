// The validator's results as files for other programs: JUnit XML, one test
// case per check, as CI servers read it, and JSON.
#pragma once

#include <string>
#include <vector>

#include "report.hpp"

namespace validator {

std::string JUnitXml(const std::vector<CheckRecord>& checks, double seconds);
std::string ResultsJson(const std::vector<CheckRecord>& checks, const std::vector<std::string>& notes,
                        int passed, int failed);

}  // namespace validator
