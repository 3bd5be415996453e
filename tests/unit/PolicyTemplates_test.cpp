// The Group Policy templates against the code: the key and value names Dormix
// reads, each element's range the kind its setting takes, and every text the
// ADMX names present in the ADML.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "app/SettingsLayout.h"
#include "policy/Policy.h"

namespace {

std::string Template(const std::string& name) {
  std::ifstream file(std::string(DORMIX_SOURCE_DIR) + "/dist/policy/" + name);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The first group of each match of `pattern` in `text`.
std::set<std::string> All(const std::string& text, const std::string& pattern) {
  std::set<std::string> found;
  const std::regex re(pattern);
  for (auto at = std::sregex_iterator(text.begin(), text.end(), re); at != std::sregex_iterator(); ++at)
    found.insert((*at)[1].str());
  return found;
}

std::string Attribute(const std::string& element, const std::string& name) {
  const std::set<std::string> found = All(element, "\\b" + name + "=\"([^\"]*)\"");
  return found.empty() ? "" : *found.begin();
}

TEST(PolicyTemplates, NameTheKeyAndValuesDormixReadsWithTheRangesItTakes) {
  const std::string admx = Template("dormix.admx"), adml = Template("en-US/dormix.adml");
  std::set<std::string> values;
  for (const std::string& policy : All(admx, "(<policy [\\s\\S]*?</policy>)")) {
    EXPECT_EQ(Attribute(policy, "key"), policy::kPolicyKey);
    const std::string value = Attribute(policy, "valueName");
    SCOPED_TRACE(value);
    values.insert(value);
    const app::Row* row = app::RowOf(value);
    ASSERT_TRUE(row);
    if (policy.find("<text ") != std::string::npos) {
      // The longest stored form: a time, or seven of them and six ";".
      ASSERT_TRUE(row->accepts.form == app::ValueKind::kTime || row->accepts.form == app::ValueKind::kWeek);
      EXPECT_EQ(Attribute(policy, "maxLength"), row->accepts.form == app::ValueKind::kTime ? "5" : "41");
      continue;
    }
    // The numbers the editor writes: the enabled and disabled values, the
    // enumeration's, or the decimal's range.
    std::set<std::string> written = All(policy, "<decimal value=\"(\\d+)\"");
    if (policy.find("<decimal id=") != std::string::npos)
      written = {Attribute(policy, "minValue"), Attribute(policy, "maxValue")};
    std::set<int> numbers;
    for (const std::string& number : written) {
      EXPECT_TRUE(app::Accept(row->accepts, number)) << number;
      numbers.insert(std::stoi(number));
    }
    EXPECT_EQ(*numbers.begin(), row->accepts.min);
    EXPECT_EQ(*numbers.rbegin(), row->accepts.max);
  }
  EXPECT_EQ(values, std::set<std::string>(policy::kPolicyNames.begin(), policy::kPolicyNames.end()));
  for (const char* table : {"string", "presentation"}) {
    const std::set<std::string> defined = All(adml, std::string("<") + table + " id=\"(\\w+)\"");
    for (const std::string& id : All(admx, std::string("\\$\\(") + table + "\\.(\\w+)\\)"))
      EXPECT_TRUE(defined.count(id)) << table << " " << id;
  }
}

}  // namespace
