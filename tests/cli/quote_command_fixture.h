#pragma once
// The quote command run in-process over files written to a scratch folder, keeping what each
// run printed; and the rows the single living room of these tests always gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "scratch_folder.h"

namespace decor::test {

class QuoteCommandFixture : public ::testing::Test {
 protected:
  // Writes `text` byte for byte to the file `name` in the scratch folder; returns its path.
  std::string write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return (folder_ / name).string();
  }

  // out_ and err_ hold only what this run printed.
  int run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return cli::runQuoteCommand(args, out_, err_);
  }

  ScratchFolder scratch_{"decor-cli"};
  const std::filesystem::path& folder_ = scratch_.path();
  std::ostringstream out_;
  std::ostringstream err_;
};

inline constexpr const char* kLivingRoomLine = "客厅\t3200*2800*2920\t800*1500\t实木门\t1\t4\n";

// kLivingRoomLine quoted with the command's defaults, tab-separated: its header, its work
// rows and the blank row after them.
inline constexpr const char* kLivingRoomRows =
    "\t客厅\t\t\t\t\n"
    "1\t顶面批腻子\tM2\t8.96\t13\t116.48\n"
    "2\t墙面批腻子\tM2\t34.44\t12\t413.28\n"
    "3\t墙顶面乳胶漆\tM2\t43.4\t10\t434\n"
    "4\t实木门\t扇\t1\t1480\t1480\n"
    "5\t局部吊顶\tM\t6\t115\t690\n"
    "6\t电视背景墙\t项\t1\t1200\t1200\n"
    "7\t鞋柜制作\tM\t1\t580\t580\n"
    "\t\t\t\t\t\n";

enum class Output { Tsv, Csv };

// The rows that close a half-package quote: 其它的, the three fees with their totals, a blank
// row and 工程总造价. None of these fields needs quotes in CSV.
inline std::string feeRows(Output output, const std::string& carriage, const std::string& rubbish,
                           const std::string& management, const std::string& total) {
  const std::string tsv = "\t其它的\t\t\t\t\n"
                          "\t材料搬运费\t户\t1\t2%\t" + carriage + "\n"
                          "\t垃圾清理费用\t户\t1\t1%\t" + rubbish + "\n"
                          "\t工程管理费\t项\t1\t8%\t" + management + "\n"
                          "\t\t\t\t\t\n"
                          "\t工程总造价\t\t\t\t" + total + "\n";
  if (output == Output::Tsv) return tsv;
  std::string csv;
  for (const char c : tsv) csv += c == '\t' ? "," : c == '\n' ? "\r\n" : std::string(1, c);
  return csv;
}

}  // namespace decor::test
