// The clipboard as the validator reads and fills it, where the host offers
// the plug-in its clipboard (mqhost/clipboard.hpp): the frame text a copy
// must leave there, in the validator's own reading of it (sixteen numbers,
// rows X, Y, Z and the origin, separated by commas), kept apart from the
// plug-in's, and frame texts for a paste to take.
#pragma once

#include <optional>
#include <string>

#include "mqhost/document.hpp"

namespace validator {

// Empty when `text` holds `frame` as the plug-in's copy writes it, to the six
// significant digits it writes; otherwise what is wrong with it.
std::string CopiedFrameProblem(const std::optional<std::string>& text, const mqhost::Matrix16& frame);

// The frame in `text` when it is sixteen finite numbers and nothing else, in
// the validator's reading; nothing otherwise.
std::optional<mqhost::Matrix16> ReadFrameText(const std::string& text);

// `frame` as clipboard text, each number to nine significant digits (every
// float comes back exactly).
std::string FrameText(const mqhost::Matrix16& frame);

}  // namespace validator
