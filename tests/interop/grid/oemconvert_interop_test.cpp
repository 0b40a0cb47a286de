// The OEM text conversion against iconv: every byte of code pages 437 and 850.
#include "controls/grid/advutil.h"

#include "platform/rtl/oemcodepage.h"
#include "tests/support/pdftools.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class OemConvertInterop : public TestSupport::TempFolderTest {
protected:
    // iconv's reading of Bytes in CodePage.
    std::string IconvUtf8(const std::string& Bytes, const std::string& CodePage)
    {
        const std::string File = Folder + "bytes.bin";
        std::ofstream(File, std::ios::binary) << Bytes;
        int ExitCode = -1;
        const std::string Output =
            TestSupport::ProgramOutput({"iconv", "-f", CodePage, "-t", "UTF-8", File}, &ExitCode);
        EXPECT_EQ(ExitCode, 0) << "iconv -f " << CodePage;
        return Output;
    }
};

TEST_F(OemConvertInterop, EveryByteReadsAsIconvReadsIt)
{
    struct Case {
        int CodePage;
        const char* IconvName;
    };
    for (const Case C : {Case{437, "CP437"}, Case{850, "CP850"}}) {
        std::string All;
        for (int B = 0; B < 256; ++B)
            All += static_cast<char>(B);
        const std::string Peer = IconvUtf8(All, C.IconvName);
        EXPECT_EQ(OemToUtf8(All, C.CodePage), Peer) << C.IconvName;
        // Each byte is one character of the peer's output: compare them one by one, so that a
        // difference names its byte.
        std::size_t At = 0;
        for (int B = 0; B < 256 && At < Peer.size(); ++B) {
            std::size_t Next = At + 1;
            while (Next < Peer.size() && (static_cast<unsigned char>(Peer[Next]) & 0xC0) == 0x80)
                ++Next;
            EXPECT_EQ(OemToUtf8(std::string(1, static_cast<char>(B)), C.CodePage),
                      Peer.substr(At, Next - At))
                << C.IconvName << " byte " << B;
            At = Next;
        }
    }
}

TEST_F(OemConvertInterop, GridConversionUsesTheLocalesCodePage)
{
    std::string All;
    for (int B = 128; B < 256; ++B)
        All += static_cast<char>(B);
    std::string Text = All;
    OemToAnsiText(Text);
    EXPECT_EQ(Text, IconvUtf8(All, OemCodePage() == 850 ? "CP850" : "CP437"));
}

} // namespace
