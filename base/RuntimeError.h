#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessaro {

// An error as the program reports it: a number and a text. Every subsystem raises this one
// type so that the batch driver can end a batch with the exact number and text.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}

    int number() const noexcept { return number_; }
    std::string text() const { return what(); }

private:
    int number_;
};

// The run-time's own error numbers and texts.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscript = 9;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDiskFull = 61;
inline constexpr int kFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidPicture = 481;

[[noreturn]] inline void raiseInvalidCall() {
    throw RuntimeError(kInvalidCall, "Invalid procedure call or argument");
}
[[noreturn]] inline void raiseOverflow() { throw RuntimeError(kOverflow, "Overflow"); }
[[noreturn]] inline void raiseOutOfMemory() { throw RuntimeError(kOutOfMemory, "Out of memory"); }
[[noreturn]] inline void raiseSubscript() {
    throw RuntimeError(kSubscript, "Subscript out of range");
}
}  // namespace err

}  // namespace tessaro
