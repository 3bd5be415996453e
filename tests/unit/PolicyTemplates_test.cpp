// The Group Policy templates as the policy editor reads them, against the
// code: the key and value names Dormix reads, each element's range the kind
// its setting takes, and every text the ADMX names present in the ADML.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/SettingsLayout.h"
#include "policy/Policy.h"

namespace {

std::string Template(const std::string& name) {
  std::ifstream file(std::string(DORMIX_SOURCE_DIR) + "/dist/policy/" + name);
  EXPECT_TRUE(file) << name;
  return {std::istreambuf_iterator<char>(file), {}};
}

std::string Attribute(const std::string& element, const char* name) {
  std::smatch match;
  return std::regex_search(element, match, std::regex(std::string("\\b") + name + "=\"([^\"]*)\"")) ? match[1].str()
                                                                                                     : "";
}

// Each match of `pattern` in `text`, its first group.
std::vector<std::string> All(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto at = std::sregex_iterator(text.begin(), text.end(), re); at != std::sregex_iterator(); ++at)
    found.push_back((*at)[1].str());
  return found;
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
    const app::ValueKind& kind = row->accepts;
    // What the editor writes, as the numbers and texts Dormix takes.
    std::vector<std::string> written = All(policy, "<decimal value=\"(\\d+)\"");
    if (policy.find("<decimal id=") != std::string::npos)
      written = {Attribute(policy, "minValue"), Attribute(policy, "maxValue")};
    if (policy.find("<text ") != std::string::npos) {
      EXPECT_EQ(kind.form, app::ValueKind::kTime);
      EXPECT_EQ(Attribute(policy, "maxLength"), "5");
      continue;
    }
    ASSERT_EQ(kind.form, app::ValueKind::kNumber);
    std::set<int> numbers;
    for (const std::string& number : written) {
      EXPECT_TRUE(app::Accept(kind, number)) << number;
      numbers.insert(std::stoi(number));
    }
    EXPECT_EQ(*numbers.begin(), kind.min);
    EXPECT_EQ(*numbers.rbegin(), kind.max);
  }
  EXPECT_EQ(values, std::set<std::string>(policy::kPolicyNames.begin(), policy::kPolicyNames.end()));

  const auto ids = [&](const char* table) {
    const std::vector<std::string> found = All(adml, std::string("<") + table + " id=\"(\\w+)\"");
    return std::set<std::string>(found.begin(), found.end());
  };
  const std::set<std::string> strings = ids("string"), presentations = ids("presentation");
  for (const std::string& id : All(admx, "\\$\\(string\\.(\\w+)\\)")) EXPECT_TRUE(strings.count(id)) << id;
  for (const std::string& id : All(admx, "\\$\\(presentation\\.(\\w+)\\)")) EXPECT_TRUE(presentations.count(id)) << id;
}

}  // namespace
