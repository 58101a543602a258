#pragma once
// The current local time as text, for the dates and time stamps the program writes.
#include <string>

namespace decor {

// Now, in the machine's time zone, written with a strftime pattern such as "%Y-%m-%d";
// the text is at most 31 bytes.
std::string localTimeText(const char* strftimePattern);

}  // namespace decor
