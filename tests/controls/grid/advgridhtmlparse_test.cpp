// The text side of grid HTML: entities decoded in one pass, colour names and hex values,
// attribute values, and the plain text of a cell.
#include "controls/grid/advgridhtml.h"
#include "controls/grid/advgridhtmlparse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AdvGridHtml;

namespace {

struct TTextCase {
    std::string Input;
    std::string Expected;
};

TEST(GridHtmlText, EntitiesDecodeOnceInOnePass)
{
    const std::vector<TTextCase> Cases = {
        {"&amp;lt;", "&lt;"},
        {"&LT;b&Gt;", "<b>"},
        {"a &quot;b&quot;", "a \"b\""},
        {"&amp;amp;", "&amp;"},
        {"&lt", "&lt"},
        {"&x; & &", "&x; & &"},
        {"tom &amp; jerry", "tom & jerry"},
        {"", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(DecodeEntities(C.Input), C.Expected) << C.Input;
}

TEST(GridHtmlText, HashTagShowsItsName)
{
    std::string Text = "a <#name> b >";
    UnwrapHashTag(Text);
    EXPECT_EQ(Text, "a #name b >");
    std::string Open = "x<#";
    UnwrapHashTag(Open);
    EXPECT_EQ(Open, "x#");
}

TEST(GridHtmlText, ColourNamesAndHexValues)
{
    EXPECT_EQ(ColorFromName("cl3ddkshadow"), SystemColor(21));
    EXPECT_EQ(ColorFromName("CLRed"), 0x0000FF);
    EXPECT_EQ(ColorFromName("clinfobk"), SystemColor(24));
    EXPECT_EQ(ColorFromName("clnosuch"), 0);
    EXPECT_EQ(ColorFromHex("#FF0000"), 255);
    EXPECT_EQ(ColorFromHex("#ff8000"), 0x0080FF); // lower-case digits read as upper-case ones
    EXPECT_EQ(ColorFromHex("#aBcDeF"), 0xEFCDAB);
    EXPECT_EQ(ColorFromHex("#12"), 0x12);
    EXPECT_EQ(ColorFromHex("#"), 0);
}

TEST(GridHtmlText, AttributeValuesByWholeName)
{
    const std::string Tag = "<FONT bgcolor=\"#00FF00\" color='clRed' size=12 face=\"Arial>";
    EXPECT_EQ(TagValue(Tag, "COLOR").value_or("?"), "clRed");
    EXPECT_EQ(TagValue(Tag, "BGCOLOR").value_or("?"), "#00FF00");
    EXPECT_EQ(TagValue(Tag, "SIZE").value_or("?"), "12");
    EXPECT_EQ(TagValue(Tag, "FACE").value_or("?"), "Arial");
    EXPECT_FALSE(TagValue(Tag, "HREF"));
    EXPECT_FALSE(TagValue("<A HREF>", "HREF"));
    EXPECT_EQ(TagValue("<A HREF=\"", "HREF").value_or("?"), "");
}

TEST(GridHtmlText, LeadingNumbers)
{
    EXPECT_EQ(LeadingInt(" 12pt").value_or(-1), 12);
    EXPECT_EQ(LeadingInt("-3").value_or(0), -3);
    EXPECT_EQ(LeadingInt("99999999999999999999").value_or(0), 2147483647);
    EXPECT_FALSE(LeadingInt("x1"));
    EXPECT_FALSE(LeadingInt(""));
}

TEST(GridHtmlText, PlainTextDropsTagsAndBreaksLines)
{
    const std::vector<TTextCase> Cases = {
        {"a<BR>b", "a\r\nb"},
        {"a<hr>b<br>", "a\r\nb\r\n"},
        {"x > y <b>bold</b> z", "x > y bold z"},
        {"a<b", "a<b"},
        {"<i>a</i><", "a<"},
        {"<a href=\"x\">link</a>", "link"},
        {"<<>>", ">"},
        {"", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(HtmlToPlainText(C.Input), C.Expected) << C.Input;
}

} // namespace
