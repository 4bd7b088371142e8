#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vimbo::platform {

// What the page reports to the native side. Main thread.
class PageListener {
  public:
    virtual ~PageListener() = default;

    // `body` is none when the page posted something other than a string.
    virtual void pageDidReceiveMessage(const std::optional<std::string>& body) = 0;
    // The page (or a reload of it) finished loading.
    virtual void pageDidFinishLoading() = 0;
};

// The web view that shows the page. Main thread.
class PageHost {
  public:
    // Called once with the evaluation's error text, or none when it succeeded.
    using Completion = std::function<void(const std::optional<std::string>& error)>;

    virtual ~PageHost() = default;

    virtual void setListener(PageListener* listener) = 0;
    // Lets the window's backdrop show through where the page draws nothing; false if unsupported.
    virtual bool makeTransparent() = 0;
    // Loads a file address; the page may read files only below `readAccessDir`.
    virtual void load(const std::string& fileUrl, const std::string& readAccessDir) = 0;
    // Fire and forget: results and errors are not reported.
    virtual void evaluate(const std::string& script) = 0;
    virtual void evaluate(const std::string& script, Completion completion) = 0;
    // The page's document title; none when it has none.
    virtual std::optional<std::string> title() const = 0;
};

} // namespace vimbo::platform
