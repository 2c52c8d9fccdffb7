// The system-information report: the lines of each section, the parsers of the system's files,
// and writing the file with its dialog and failures.
#include <sys/stat.h>

#include <GL/gl.h>

#include <gtest/gtest.h>

#include "app/view/SysInfo.h"
#include "app/view/SysInfoProbe.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

SSysInfo KnownInfo() {
    SSysInfo info;
    std::tm time {};
    time.tm_mday = 8;
    time.tm_mon = 11;
    time.tm_year = 126;
    time.tm_hour = 9;
    time.tm_min = 5;
    info.localTime = time;
    info.host = "werkstatt";
    info.hostModel = "Standard PC";
    info.processors = {{"Modell A", "Hersteller", 2400}, {"Modell A", "Hersteller", 2401}};
    return info;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(SysInfoReport, HostSectionAloneWithItsProcessors) {
    EXPECT_EQ(FormatSysInfo(KnownInfo(), SysInfoSection::Host),
              "Time/Date                     :  8.12.2026  9:05\n"
              "\n"
              "Host                          : werkstatt\n"
              "Host Model                    : Standard PC\n"
              "Host CPU   1                  : Modell A\n"
              "Host CPU   1 Vendor           : Hersteller\n"
              "Host CPU   1 MHz              : 2400\n"
              "Host CPU   2                  : Modell A\n"
              "Host CPU   2 Vendor           : Hersteller\n"
              "Host CPU   2 MHz              : 2401\n");
}

TEST(SysInfoReport, SectionsInTheirOrderAndMemoryInWholeMegabytes) {
    SSysInfo info = KnownInfo();
    info.memory.physicalTotal = 536870912;
    info.memory.physicalAvail = 536870911;
    info.os = SSysOs{"Linux", 6, 1, 0x12345, "Debian GNU/Linux 12", false};
    std::string text = FormatSysInfo(info, SysInfoSection::All);
    EXPECT_TRUE(Contains(text, "Physical Memory Total (MB)    : 512\n"));
    EXPECT_TRUE(Contains(text, "Physical Memory Avail (MB)    : 511\n"));
    EXPECT_TRUE(Contains(text, "Operating System Version      : 6.1\n"));
    EXPECT_TRUE(Contains(text, "Operating System Build        : 9029\n"));  // low 16 bits
    EXPECT_TRUE(Contains(text, "Operating System Mode         : Release\n"));
    size_t host = text.find("Host  ");
    size_t memory = text.find("Memory Load (%)");
    size_t os = text.find("Operating System Type");
    size_t gl = text.find("OpenGL Vendor");
    EXPECT_LT(host, memory);
    EXPECT_LT(memory, os);
    EXPECT_LT(os, gl);
}

TEST(SysInfoReport, OpenGlWithoutAContextSaysUnknownAndKeepsTheTables) {
    SSysInfo info = KnownInfo();
    std::string text = FormatSysInfo(info, SysInfoSection::OpenGl);
    EXPECT_TRUE(Contains(text, "\nOpenGL Vendor                 : unknown\n"));
    EXPECT_TRUE(Contains(text, "OpenGL GLU Extensions         : unknown\n"));
    EXPECT_FALSE(Contains(text, "Current Pixel Format"));
    EXPECT_TRUE(Contains(text, "OpenGL Viewport Width         : 0\n"));
    EXPECT_TRUE(Contains(text, "\nIdx WB GO AG PG DS S RC #bits"));
    EXPECT_TRUE(Contains(text, "Idx WB GO AG PG DS I RC #indx"));
    const std::string lastLine = "    +------------------- Draw to Window\n";
    EXPECT_TRUE(text.ends_with(lastLine));
}

TEST(SysInfoReport, PixelFormatRowsOnlyWithAWindowContext) {
    SSysInfo info = KnownInfo();
    SSysPixelFormat format;
    format.drawToWindow = true;
    format.doubleBuffered = true;
    format.rgba = true;
    format.colourBits = 32;
    format.depthBits = 24;
    info.openGl.pixelFormats = {format};
    EXPECT_FALSE(Contains(FormatSysInfo(info, SysInfoSection::OpenGl), "\n1   "));
    info.openGl.hasWindowContext = true;
    info.openGl.currentPixelFormat = 1;
    std::string text = FormatSysInfo(info, SysInfoSection::OpenGl);
    EXPECT_TRUE(Contains(text, "OpenGL Current Pixel Format   : 1\n"));
    EXPECT_TRUE(Contains(text, "\n1   yn ny nn nn yn n yn 32      0       0       0       0       "
                               "0       0       0       0       24      0       0       \n"));
}

TEST(SysInfoReport, LocalTimeFailureIsReportedInItsLine) {
    SSysInfo info = KnownInfo();
    info.localTime.reset();
    info.localTimeError = 75;
    EXPECT_EQ(FormatSysInfo(info, 0), "Error calling localtime: 75\n");
}

TEST(SysInfoParsers, ProcessorsKeepThePreviousValueWhereOneIsMissing) {
    std::vector<SSysProcessor> cpus = ParseCpuInfo("processor\t: 0\nvendor_id\t: Acme\n"
                                                   "model name\t: Fast One\ncpu MHz\t\t: 2999.9\n\n"
                                                   "processor\t: 1\nmodel name\t: Fast Two\n\n");
    ASSERT_EQ(cpus.size(), 2u);
    EXPECT_EQ(cpus[0].megahertz, 2999);
    EXPECT_EQ(cpus[1].identifier, "Fast Two");
    EXPECT_EQ(cpus[1].vendor, "Acme");
    EXPECT_EQ(cpus[1].megahertz, 2999);

    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += "processor : " + std::to_string(i) + "\n";
    }
    EXPECT_EQ(ParseCpuInfo(many).size(), 32u);
}

TEST(SysInfoParsers, MemoryFromKilobytes) {
    SSysMemory memory;
    ASSERT_TRUE(ParseMemInfo("MemTotal: 1048576 kB\nMemAvailable: 262144 kB\n"
                             "SwapTotal: 1024 kB\nSwapFree: 1024 kB\n",
                             memory));
    EXPECT_EQ(memory.physicalTotal, 1073741824u);
    EXPECT_EQ(memory.loadPercent, 75);
    EXPECT_EQ(memory.pageFileTotal, 1073741824u + 1048576u);
    EXPECT_FALSE(ParseMemInfo("nonsense\n", memory));
}

TEST(WriteSysInfo, WritesTheChosenFileWithCrLfLines) {
    TempFolder folder;
    std::string path = folder.File("bericht.txt");
    TestUi().QueueFileChoice(path);
    ASSERT_TRUE(WriteSysInfo("", SysInfoSection::Host | SysInfoSection::Memory));
    ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
    EXPECT_TRUE(TestUi().FileDialogs()[0].save);
    EXPECT_EQ(TestUi().FileDialogs()[0].filter, "Textdatei (*.txt)|*.txt");
    std::string text = TempFolder::Read(path);
    EXPECT_EQ(text.rfind("Time/Date", 0), 0u);
    EXPECT_TRUE(Contains(text, "\r\n\r\nHost "));
    EXPECT_FALSE(Contains(text, "\nOpenGL"));
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(WriteSysInfo, CancelWritesNothingAndAFailureSaysSo) {
    EXPECT_FALSE(WriteSysInfo("", SysInfoSection::All));  // the dialog is cancelled
    EXPECT_TRUE(TestUi().Boxes().empty());

    TempFolder folder;
    EXPECT_FALSE(WriteSysInfo(folder.File("missing/folder/bericht.txt"), SysInfoSection::All));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Datei konnte nicht geöffnet werden");

    std::string existing = folder.Write("alt.txt", "old report");
    ::chmod(folder.Path().c_str(), 0500);
    bool written = WriteSysInfo(existing, SysInfoSection::Host);
    ::chmod(folder.Path().c_str(), 0700);
    if (!written) {  // root may write anyway; otherwise the old report must be intact
        EXPECT_EQ(TempFolder::Read(existing), "old report");
    }
}

using SysInfoOpenGl = GlTest;

TEST_F(SysInfoOpenGl, ReportsTheCurrentContext) {
    SSysInfo info = ProbeSysInfo(SysInfoSection::OpenGl);
    ExpectNoGlError("probing");
    EXPECT_NE(info.openGl.vendor, "unknown");
    EXPECT_NE(info.openGl.version, "unknown");
    EXPECT_NE(info.openGl.gluVersion, "unknown");
    EXPECT_EQ(info.openGl.viewportWidth, 256.0);
    EXPECT_EQ(info.openGl.viewportHeight, 256.0);
    EXPECT_FALSE(info.openGl.hasWindowContext);  // an off-screen context has no window
}
