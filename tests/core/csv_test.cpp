#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "text/csv.h"

namespace decor {
namespace {

TEST(Csv, FieldsAreGuardedAgainstFormulasAndQuotedWhereNeeded) {
  struct Case {
    std::string field;
    std::string guarded;  // PlainNumbers::Guarded
    std::string kept;     // PlainNumbers::Kept
  };
  const std::vector<Case> cases = {
      {"", "", ""},
      {"顶面批腻子", "顶面批腻子", "顶面批腻子"},
      {"116.48", "116.48", "116.48"},
      {"2%", "2%", "2%"},
      {"a,b", "\"a,b\"", "\"a,b\""},
      {"他说\"好\"", "\"他说\"\"好\"\"\"", "\"他说\"\"好\"\"\""},
      {"第一行\r\n第二行", "\"第一行\r\n第二行\"", "\"第一行\r\n第二行\""},
      // Whatever a spreadsheet would take for a formula gets a "'", and so does a "'" itself.
      {"=SUM(A1)", "'=SUM(A1)", "'=SUM(A1)"},
      {"=HYPERLINK(\"http://x\",\"点我\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"点我\"\")\"",
       "\"'=HYPERLINK(\"\"http://x\"\",\"\"点我\"\")\""},
      {"+86 138", "'+86 138", "'+86 138"},
      {"+8613800138000", "'+8613800138000", "'+8613800138000"},
      {"@SUM(A1)", "'@SUM(A1)", "'@SUM(A1)"},
      {"\tcmd", "'\tcmd", "'\tcmd"},
      {"\r=1+1", "\"'\r=1+1\"", "\"'\r=1+1\""},
      {"'139", "''139", "''139"},
      {"-2+3", "'-2+3", "'-2+3"},
      {"-1,5", "\"'-1,5\"", "\"'-1,5\""},
      {"-A1", "'-A1", "'-A1"},
      {"--1", "'--1", "'--1"},
      {"-1.", "'-1.", "'-1."},
      {"-.5", "'-.5", "'-.5"},
      {"-1e5", "'-1e5", "'-1e5"},
      {"-1.5e+", "'-1.5e+", "'-1.5e+"},
      {"-1E+006", "'-1E+006", "'-1E+006"},
      // A quotation's own figures and the "-" of a hand-added row stay what they are where
      // plain numbers are kept.
      {"-3679", "'-3679", "-3679"},
      {"-0.5", "'-0.5", "-0.5"},
      {"-1.23457e+006", "'-1.23457e+006", "-1.23457e+006"},
      {"-2e-005", "'-2e-005", "-2e-005"},
      {"-", "'-", "-"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(csvField(c.field, PlainNumbers::Guarded), c.guarded) << c.field;
    EXPECT_EQ(csvField(c.field, PlainNumbers::Kept), c.kept) << c.field;
  }
}

TEST(Csv, ARecordIsItsFieldsCommaSeparatedWithCrLf) {
  const std::vector<std::string_view> fields = {"-", "=cmd", "", "a,b", "-3679"};
  EXPECT_EQ(csvRecord(fields, PlainNumbers::Kept), "-,'=cmd,,\"a,b\",-3679\r\n");
  EXPECT_EQ(csvRecord(fields), "'-,'=cmd,,\"a,b\",'-3679\r\n");
  EXPECT_EQ(csvRecord({}), "\r\n");
}

}  // namespace
}  // namespace decor
