// The one exception of the HTTP client. Every transport and protocol error of HttpConnection and
// HttpResponse is thrown as a Wobbly carrying a short English text; its users catch it, log the
// text and abandon the connection.
#pragma once

#include <exception>
#include <string>

namespace happyhttp {

class Wobbly : public std::exception {
public:
    // Longer texts are cut to this many bytes.
    static constexpr size_t kMaxLength = 255;

    explicit Wobbly(const std::string& text) : text_(text.substr(0, kMaxLength)) {}

    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

}  // namespace happyhttp
