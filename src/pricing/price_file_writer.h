#pragma once
// The two price files written from prices, in the layout price_files.h reads: UTF-8, the
// application-settings layout, "<appSettings>" with one `<add key="…" value="…" />` entry
// per key of the half, in the defaults' order except for one rule:
//
// a key that is the tail of another key of the same file (封阳台 of 舒适型封阳台) is
// written before that key, because the reader takes the first entry whose text ends in
// key + `" value="`. Written the other way round, 封阳台 would read the longer key's value.
//
// The file reads back as exactly the prices given, provided no item price holds a double
// quote or a zero byte (the reader's value ends at either); prices read from a file or set
// by the program never do.
#include <string>

#include "pricing/price_table.h"

namespace decor {

std::string estimatePriceFile(const EstimatePrices& prices);  // "AppConfig.xml"
std::string itemPriceFile(const ItemPrices& prices);          // "Xiangxi.xml"

}  // namespace decor
