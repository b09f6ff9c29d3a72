// Names of socket errors for the messages of the HTTP client.
//
// The names come from a fixed table keyed by the Winsock error numbers (10004 "Interrupted system
// call" ... 11004 "No host data of that type was found"), so that messages read the same on
// every platform. On POSIX systems errno values are first mapped onto those numbers.
#pragma once

#include <string>

namespace happyhttp {

// The Winsock number that stands for a POSIX errno value; 0 for 0, -1 for values with no
// counterpart (whose name then reads "unknown").
int socketErrorNumber(int posixErrno);

// The table text of a Winsock error number, or "unknown".
const char* socketErrorName(int socketErrorNumber);

// "<label>: <name of the errno value>", the text of a failed system call, e.g.
// "connect(): Connection refused".
std::string socketErrorText(const char* label, int posixErrno);

}  // namespace happyhttp
