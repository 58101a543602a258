#pragma once
// The building blocks of the grade lists: a cost line adds an amount to one of the running
// sums and usually writes a line of the breakdown. Each grade is a description made of these
// (grade_lists.cpp); quick_estimate.cpp walks it.
#include <functional>
#include <string_view>
#include <vector>

#include "pricing/price_table.h"

namespace decor::estimate {

// What an amount may read: the stored area figures (single precision, widened), the counts
// and the prices. Amounts are evaluated in double.
struct Flat {
  double K = 0, B = 0, Y = 0, P = 0, H = 0;  // area figures
  double bedrooms = 0, halls = 0, kitchens = 0, bathrooms = 0, balconies = 0;
  double N3 = 0;  // bathrooms + kitchens + bedrooms: rooms with a door and a threshold stone
  double N4 = 0;  // bedrooms + halls + kitchens + bathrooms: rooms with lamps and hardware
  const EstimatePrices* prices = nullptr;

  double price(std::string_view key) const { return prices->get(key); }
};

using Amount = std::function<double(const Flat&)>;

enum class Op {
  Start,  // the sum starts afresh with the amount
  Add,    // the sum grows by the amount
  Fees,   // transport and rubbish 1 %, then project management 8 %, each with its line
};

// The count that must not be 0 for the line to happen.
enum class When { Always, Halls, Bedrooms, Balconies };

// How the shown amount is written.
enum class Print { None, Single, Double, Integer };

struct CostLine {
  Op op = Op::Add;
  When when = When::Always;
  const char* label = nullptr;  // nullptr: the amount goes into the sum without a line
  Print print = Print::None;
  Amount amount;
  Amount shown;                    // empty: the line shows the amount added
  const char* ending = "元\r\n";
};

using CostLines = std::vector<CostLine>;

// The floor of the living and dining room splits each package in two: with tiles there the
// half package grows from T1 to T2, with a wooden floor there the full package grows from F
// to T3. Each sum is stored once.
struct LivingRoomSplit {
  Amount tiledHalfPackage;        // T2 = T1 + this
  Amount woodenFloorFullPackage;  // T3 = F + this
};

// The four terms by which the full package with tiles in the living and dining room starts
// from T2, in the order they are added: T4 = T2 + all four, summed in double and stored once.
// The last living-room line shows the sum of the four.
struct TiledFullPackageTerms {
  Amount livingRoomTiles;        // the grade's tile price × H
  Amount kitchenMainMaterials;   // × kitchens
  Amount bathroomMainMaterials;  // × bathrooms
  Amount perRoomExtra;           // × N4: hardware in some grades, lamps in others
};

// One grade, in the order its lines run.
struct GradeList {
  std::string_view grade;
  std::string_view headline;
  std::string_view note;  // starts with the unit of the fourth price
  CostLines halfPackage;  // T1
  CostLines fullPackage;  // F, starting from T1
  LivingRoomSplit livingRoom;
  TiledFullPackageTerms tiledFullPackage;  // T4's first formula
  CostLines tiledFullPackageLines;         // T4 after its first formula
};

// The five grades in the order a grade text is matched against them.
const std::vector<GradeList>& gradeLists();

}  // namespace decor::estimate
