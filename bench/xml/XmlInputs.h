#pragma once

#include <string>

// Generated documents of about `bytes` bytes.
namespace XmlInputs {

// An update-service reply: module elements with 15 attributes each.
std::string updateReply(size_t bytes);
// Paragraphs of running text with references and non-ASCII characters.
std::string textHeavy(size_t bytes);
// Chains of 200 nested elements, side by side under the root.
std::string deeplyNested(size_t bytes);

} // namespace XmlInputs
