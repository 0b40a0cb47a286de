// A file dialog's filter as its entries, and names against its masks.
#include "platform/dialogs/filefilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(FileFilter, SplitsIntoDescriptionsAndTheirMasks)
{
    const std::vector<TFileFilter> Entries =
        ParseFileFilter("Text files (*.txt)|*.txt; *.log ;|All files (*.*)|*.*|Bare");
    ASSERT_EQ(Entries.size(), 3u);
    EXPECT_EQ(Entries[0].Description, "Text files (*.txt)");
    EXPECT_EQ(Entries[0].Masks, (std::vector<std::string>{"*.txt", "*.log"}));
    EXPECT_EQ(Entries[1].Masks, (std::vector<std::string>{"*.*"}));
    EXPECT_EQ(Entries[2].Description, "Bare");
    EXPECT_EQ(Entries[2].Masks, (std::vector<std::string>{"*"}));
    EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(FileFilter, MasksMatchAsTheClassicSystemDoes)
{
    struct TCase {
        const char* Name;
        const char* Mask;
        bool Matches;
    };
    const std::vector<TCase> Cases = {
        {"rules.txt", "*.txt", true},
        {"RULES.TXT", "*.txt", true},
        {"rules.txt.bak", "*.txt", false},
        {"README", "*.*", true}, // "*.*" takes names without a dot
        {"a.b.c", "*.c", true},
        {"spam1.wav", "spam?.wav", true},
        {"spam12.wav", "spam?.wav", false},
        {"\xc3\xa9t\xc3\xa9.txt", "?t?.txt", true}, // ? is one whole character
        {"x", "", false},
        {"", "*", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(MatchesMask(Case.Name, Case.Mask), Case.Matches)
            << Case.Name << " ~ " << Case.Mask;
}
