#pragma once
// The two price files as the built-in defaults would write them, for staff to start from
// and for the server to hand out while its price folder lacks a file.
#include <string>

namespace decor::server {

// UTF-8 application-settings layout: "<appSettings>" with one `<add key="…" value="…" />`
// entry per key of the half. A key that is the tail of another key of the same file is
// written first, because the program takes the first entry whose text ends in
// key + `" value="`; the file thus reads back as exactly the defaults.
std::string defaultEstimatePriceFile();  // "AppConfig.xml"
std::string defaultItemPriceFile();      // "Xiangxi.xml"

}  // namespace decor::server
