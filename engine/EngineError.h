// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <stdexcept>
#include <string>

namespace morvelin {

// The engine's errors. The engine raises them and never catches them; callers decide.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OverflowError : public EngineError {
public:
    explicit OverflowError(const std::string& what = "overflow") : EngineError(what) {}
};

class IndexOutOfRangeError : public EngineError {
public:
    explicit IndexOutOfRangeError(const std::string& what = "index out of range") : EngineError(what) {}
};

class DivisionByZeroError : public EngineError {
public:
    explicit DivisionByZeroError(const std::string& what = "division by zero") : EngineError(what) {}
};

class TypeMismatchError : public EngineError {
public:
    explicit TypeMismatchError(const std::string& what = "type mismatch") : EngineError(what) {}
};

} // namespace morvelin
