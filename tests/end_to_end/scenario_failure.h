#pragma once

#include <functional>
#include <string>

namespace vestro::end_to_end {

// Ends a scenario: what went wrong, in words for the reader of the test log.
class ScenarioFailure {
  public:
    explicit ScenarioFailure(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }

  private:
    std::wstring message_;
};

// Runs at the first failure, before the scenario's programs are ended, so that it still sees
// the screen as it was when the check failed.
void OnFirstFailure(std::function<void()> observer);

[[noreturn]] void Fail(const std::wstring& message);
void Require(bool condition, const std::wstring& message);
void RequireEqualText(const std::wstring& actual, const std::wstring& expected,
                      const std::wstring& what);
void RequireTextStartsWith(const std::wstring& actual, const std::wstring& prefix,
                           const std::wstring& what);

// In quotes, so that leading and trailing spaces show in a failure message.
std::wstring Quoted(const std::wstring& text);

}  // namespace vestro::end_to_end
