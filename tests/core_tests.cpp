// The address rule, case by case. Expected notices are converted from UTF-8 by the system, not
// taken from the program.
#include <gtest/gtest.h>

#include <string>

#include "../core/address_rule.h"
#include "support/case_name.h"
#include "support/cp936_reference.h"

namespace vantorel {
namespace {

using testing_support::Cp936;

std::string Address(const std::string& code) {
  return std::string("http://") + VANTOREL_VIDEO_HOST + "/22222071/" + code + ".flv";
}

struct RuleCase {
  const char* name;
  const char* codeUtf8;  // nullptr: no text at all
  AnalyzeOutcome outcome;
};

const RuleCase kCases[] = {
    {"no text at all", nullptr, AnalyzeOutcome::EmptyCode},
    {"empty text", "", AnalyzeOutcome::EmptyCode},
    {"the example code", "Z0090UPN7fm", AnalyzeOutcome::Built},
    {"10 bytes", "Z0090UPN7f", AnalyzeOutcome::WrongLength},
    {"12 bytes", "Z0090UPN7fmX", AnalyzeOutcome::WrongLength},
    {"a single space", " ", AnalyzeOutcome::WrongLength},
    {"a space before the code", " Z0090UPN7fm", AnalyzeOutcome::WrongLength},
    {"a space after the code", "Z0090UPN7fm ", AnalyzeOutcome::WrongLength},
    {"ten characters and a space", "Z0090UPN7f ", AnalyzeOutcome::Built},
    {"nine ASCII and one Chinese: 11 bytes", "Z0090UPN7\xE5\x90\xB4", AnalyzeOutcome::Built},
    {"ten ASCII and one Chinese: 12 bytes", "Z0090UPN7f\xE5\x90\xB4", AnalyzeOutcome::WrongLength},
    {"lower case kept", "z0090upn7fm", AnalyzeOutcome::Built},
    {"URL syntax unescaped", "a/b?c#d%20e", AnalyzeOutcome::Built},
    {"a code ending in a full-width mark", "Z0090UPN7\xEF\xBC\x81", AnalyzeOutcome::Built},
};

class AddressRule : public testing::TestWithParam<RuleCase> {};

TEST_P(AddressRule, OutcomeAddressAndNotice) {
  const RuleCase& c = GetParam();
  const std::string code = c.codeUtf8 == nullptr ? std::string() : Cp936(c.codeUtf8);
  const AnalyzeResult result = BuildDownloadAddress(c.codeUtf8 == nullptr ? nullptr : code.c_str());

  EXPECT_EQ(result.outcome, c.outcome);
  switch (c.outcome) {
    case AnalyzeOutcome::EmptyCode:
      EXPECT_EQ(result.address(), "");
      EXPECT_EQ(result.message, Cp936("请先输入提取码再分析！"));
      break;
    case AnalyzeOutcome::WrongLength:
      EXPECT_EQ(result.address(), "");
      EXPECT_EQ(result.message, Cp936("请正确输入提取码再分析！"));
      break;
    case AnalyzeOutcome::Built:
      EXPECT_EQ(code.size(), kCodeLength);
      EXPECT_EQ(result.address(), Address(code));
      EXPECT_EQ(result.message, Cp936("分析成功！"));
      break;
  }
  EXPECT_EQ(result.message, NoticeFor(result.outcome));
}

INSTANTIATE_TEST_SUITE_P(Cases, AddressRule, testing::ValuesIn(kCases),
                         testing_support::CaseName());

TEST(AddressRuleBytes, ChineseCharacterStandsAsItsTwoBytes) {
  const std::string code = "Z0090UPN7" + Cp936("吴");
  ASSERT_EQ(code.size(), 11u);
  EXPECT_EQ(BuildDownloadAddress(code.c_str()).address(),
            std::string("http://") + VANTOREL_VIDEO_HOST + "/22222071/Z0090UPN7\xCE\xE2.flv");
}

TEST(AddressRuleBytes, NoticesEndInTheFullWidthMark) {
  for (AnalyzeOutcome outcome :
       {AnalyzeOutcome::EmptyCode, AnalyzeOutcome::WrongLength, AnalyzeOutcome::Built}) {
    const std::string_view notice = NoticeFor(outcome);
    ASSERT_GE(notice.size(), 2u);
    EXPECT_EQ(notice.substr(notice.size() - 2), "\xA3\xA1");
  }
}

}  // namespace
}  // namespace vantorel
