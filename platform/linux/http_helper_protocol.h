#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/http_limits.h"

namespace velandri {

// The HTTP helper (velandri-http) reads one request on its standard input, the fields of
// requestText() one per line (the mode, the address and the limits), runs that GET and answers
// on its standard output with
//   P <received> <total>\n                           progress, downloads only, any number
//   R <status> <header bytes> <body bytes>\n<headers><body>   or
//   E <bytes>\n<error text in UTF-8>
// and nothing after that. Byte counts are decimal; the payload is taken as it is. Its input
// closed without a request, it ends without a word.
// This half is shared by both ends and free of Qt, which the helper does not load; the program
// reads the records with HelperOutput (helper_output.h).

enum class HelperMode { Page, Download };

struct HelperRequest {
    HelperMode mode = HelperMode::Page;
    std::string url;  // UTF-8
    HttpLimits limits;
};

// Empty when a field would not fit on one line.
std::string requestText(const HelperRequest& request);
std::optional<HelperRequest> parseRequestText(std::string_view text);

// A count of a request or a record: decimal digits only; nothing for anything else.
std::optional<std::int64_t> parseCount(std::string_view text);

std::string progressRecord(std::int64_t received, std::int64_t total);
// The line that opens an answer record; the headers and then the body follow it as they are,
// written from where they lie rather than copied into one record.
std::string responseLine(long status, std::size_t headerBytes, std::size_t bodyBytes);
// The line that opens an error record; the error text follows it.
std::string errorLine(std::size_t textBytes);

}  // namespace velandri
