#pragma once
// The message of the error an action raises, for comparing in one expectation.

#include <exception>
#include <string>

// The what() of the `Error` that `action` throws, or "<none>" when it throws
// nothing. An error of another type is not caught: it fails the test.
template <typename Error = std::exception, typename Action>
std::string errorOf(Action &&action)
{
    try {
        action();
    } catch (const Error &error) {
        return error.what();
    }
    return "<none>";
}
