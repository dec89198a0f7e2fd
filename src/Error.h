// An error that reaches the user in the error box; what() is its cp932 text.
#pragma once

#include "Text.h"

#include <exception>
#include <utility>

class Error : public std::exception {
  public:
    explicit Error(Text message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    Text message_;
};
