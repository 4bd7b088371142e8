#pragma once

// Names of the messages between the program and its extension in WebKit's web process.
namespace vimbo::webextension {

// Program -> extension: evaluate the string parameter in the page, reporting nothing back.
inline constexpr const char* kEvaluateMessage = "vimbo.evaluate";
// Extension -> program: the extension runs in this web process and takes kEvaluateMessage.
inline constexpr const char* kReadyMessage = "vimbo.ready";

} // namespace vimbo::webextension
