#include "report/report_html.h"
#include "report/report_json.h"

#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

struct EscapeCase {
    const char* raw;
    const char* html; // as the page must hold it
    const char* json; // the JSON string, quotes included
};

const EscapeCase kEscapeCases[] = {
    {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;",
     R"("<script>alert(1)</script>")"},
    {"Tom & Jerry", "Tom &amp; Jerry", R"("Tom & Jerry")"},
    {R"(say "hi" 'x')", "say &quot;hi&quot; &#39;x&#39;", R"("say \"hi\" 'x'")"},
    {"back\\slash\ttab\n", "back\\slash\ttab\n", R"("back\\slash\u0009tab\u000a")"},
    // A name that is not UTF-8 leaves neither file invalid.
    {"bad \xff byte", "bad \xEF\xBF\xBD byte", "\"bad \xEF\xBF\xBD byte\""},
};

// A battery and a program folder named by the system reach both writers as text.
TEST(ReportWritersTest, SystemTextsAreEscaped) {
    for (const EscapeCase& c : kEscapeCases) {
        SCOPED_TRACE(c.raw);
        BatteryReport report;
        HealthEntry entry;
        entry.day = 20600;
        entry.identity = c.raw;
        entry.healthPercent = 90;
        report.diary = {entry};
        report.batteries = {entry};
        const std::string html = ReportHtml(report, c.raw, Language::English);
        const std::string json = ReportJson(report);
        EXPECT_NE(html.find(std::string("<td>") + c.html + "</td>"), std::string::npos);
        EXPECT_NE(html.find(std::string("Program folder: ") + c.html + "</p>"), std::string::npos);
        if (std::string(c.raw) != c.html) {
            EXPECT_EQ(html.find(c.raw), std::string::npos);
        }
        EXPECT_NE(json.find(std::string("\"battery\": ") + c.json), std::string::npos) << json;
    }
}

} // namespace
} // namespace amperlog
