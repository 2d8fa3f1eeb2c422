#include "scenario_failure.h"

#include <utility>

namespace vestro::end_to_end {
namespace {

std::function<void()>& FirstFailureObserver() {
    static std::function<void()> observer;
    return observer;
}

}  // namespace

void OnFirstFailure(std::function<void()> observer) {
    FirstFailureObserver() = std::move(observer);
}

void Fail(const std::wstring& message) {
    if (std::function<void()> observer = std::exchange(FirstFailureObserver(), nullptr)) {
        observer();
    }
    throw ScenarioFailure(message);
}

void Require(bool condition, const std::wstring& message) {
    if (!condition) {
        Fail(message);
    }
}

void RequireEqualText(const std::wstring& actual, const std::wstring& expected,
                      const std::wstring& what) {
    if (actual != expected) {
        Fail(what + L": expected " + Quoted(expected) + L", found " + Quoted(actual) + L".");
    }
}

void RequireTextStartsWith(const std::wstring& actual, const std::wstring& prefix,
                           const std::wstring& what) {
    if (!actual.starts_with(prefix)) {
        Fail(what + L": expected a text starting with " + Quoted(prefix) + L", found " +
             Quoted(actual) + L".");
    }
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace vestro::end_to_end
