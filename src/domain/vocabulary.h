#pragma once
// The product's words, each spelled once: the decoration grades, the room and door types of
// the room list, the package scopes and floor choices, and the names by which rows of the
// quotation table are recognised. The estimator, the quote build, the packages and the
// exports all compare against these, so a text changed here changes everywhere at once.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace decor {

// --- Decoration grades ------------------------------------------------------------------

// Character arrays, so that a grade fills a std::string as readily as a string_view.
inline constexpr char kGradeRental[] = "出租房装修";
inline constexpr char kGradeEconomy[] = "经济型装修";
inline constexpr char kGradeComfort[] = "舒适型装修";
inline constexpr char kGradeFine[] = "精  装  修";  // two blanks between the characters
inline constexpr char kGradeLuxury[] = "豪华型装修";

// In the order of the main window's grade box, which is also the order a grade text is
// matched in and the column order of every per-grade table.
inline constexpr std::array<std::string_view, 5> kDecorationGrades{kGradeRental, kGradeEconomy, kGradeComfort,
                                                                   kGradeFine, kGradeLuxury};
// Index into kDecorationGrades; nothing for a text that is none of the five.
std::optional<std::size_t> decorationGradeIndex(std::string_view grade);

// --- Room types -------------------------------------------------------------------------

inline constexpr std::string_view kLivingRoom = "客厅";
inline constexpr std::string_view kDiningRoom = "餐厅";
inline constexpr std::string_view kKitchen = "厨房";
inline constexpr std::string_view kBedroom = "卧室";
inline constexpr std::string_view kBathroom = "卫生间";
inline constexpr std::string_view kStudy = "书房";
inline constexpr std::string_view kBalcony = "阳台";

// In the order the room entry window offers them. A room type typed by hand is kept as typed.
inline constexpr std::array<std::string_view, 7> kRoomTypes{kLivingRoom, kDiningRoom, kKitchen, kBedroom,
                                                            kBathroom,   kStudy,      kBalcony};

// --- Door types -------------------------------------------------------------------------

// The doors the rules single out; every door's name is also the key of its item price.
inline constexpr std::string_view kRentalDoor = "出租房门";
inline constexpr std::string_view kUnpaintedSolidWoodDoor = "实木免漆门";
inline constexpr std::string_view kSolidWoodDoor = "实木门";
inline constexpr std::string_view kLogDoor = "原木门";
inline constexpr std::string_view kNoDoor = "(无)";

// In the order the room entry window offers them: the nine doors, then no door.
inline constexpr std::array<std::string_view, 10> kDoorTypeChoices{
    kRentalDoor, kUnpaintedSolidWoodDoor, kSolidWoodDoor, kLogDoor, "移门", "推拉门", "塑钢门", "彩铝门", "折叠门", kNoDoor};

// --- Package scope and floor choice -----------------------------------------------------

enum class PackageScope { Half, Full };

std::string_view packageScopeText(PackageScope scope);  // "半包" / "全包"
std::optional<PackageScope> packageScopeFromText(std::string_view text);
// The quotation window's caption, which also tells its commands which package is shown.
std::string_view quoteCaption(PackageScope scope);  // "半包装修详细报价" / "全包装修详细报价"

// The floor choice of the room entry window, one for the whole flat.
enum class FloorChoice { WoodenFloor, Tiles };

std::string_view floorText(FloorChoice floor);  // "地板" / "瓷砖"
std::optional<FloorChoice> floorChoiceFromText(std::string_view text);

// --- Rows of the quotation table --------------------------------------------------------

// The quotation's commands find the fee block and the totals by these names alone.
inline constexpr std::string_view kFeeHeading = "其它的";
inline constexpr std::string_view kMaterialTransportFee = "材料搬运费";
inline constexpr std::string_view kRubbishRemovalFee = "垃圾清理费用";
inline constexpr std::string_view kProjectManagementFee = "工程管理费";
// In the order the fee block lists them.
inline constexpr std::array<std::string_view, 3> kFeeNames{kMaterialTransportFee, kRubbishRemovalFee,
                                                           kProjectManagementFee};
inline constexpr std::string_view kProjectTotalName = "工程总造价";
inline constexpr std::string_view kFullPackageTotalName = "全包总价格";

}  // namespace decor
