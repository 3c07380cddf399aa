#include "platform/linux/command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fakes/qt_printers.h"
#include "fakes/stub_programs.h"

using namespace velandri;

namespace {

struct SplitCase {
    const char* name;
    QString commandLine;
    QString program;
    QStringList arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitCommandLine : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLine, FindsProgramAndArguments) {
    const DesignedCommand command = splitCommandLine(GetParam().commandLine);
    EXPECT_EQ(command.program, GetParam().program);
    EXPECT_EQ(command.arguments, GetParam().arguments);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, SplitCommandLine, testing::Values(
    SplitCase{"program path with blanks ends at .exe",
        R"(C:\Program Files\Mozilla Firefox\firefox.exe http://example.com/)",
        R"(C:\Program Files\Mozilla Firefox\firefox.exe)", {"http://example.com/"}},
    SplitCase{"a URL with blanks becomes several arguments",
        R"(C:\Program Files\Opera\opera.exe http://x/a b  c)",
        R"(C:\Program Files\Opera\opera.exe)", {"http://x/a", "b", "c"}},
    SplitCase{".exe in any case, at the end",
        "EXPLORER.EXE", "EXPLORER.EXE", {}},
    SplitCase{".exe not followed by a blank is part of the path",
        R"(C:\a.exe.d\b.exe x)", R"(C:\a.exe.d\b.exe)", {"x"}},
    SplitCase{"without .exe the program ends at the first blank",
        "xdg-open http://x/", "xdg-open", {"http://x/"}},
    SplitCase{"a quoted program ends at its closing quote",
        R"("C:\Program Files\x\y.exe" a)", R"(C:\Program Files\x\y.exe)", {"a"}},
    SplitCase{"double quotes group blanks and disappear",
        R"(p.exe "a b" c"d e"f)", "p.exe", {"a b", "cd ef"}},
    SplitCase{"an empty quoted argument stays",
        R"(p.exe "" x)", "p.exe", {"", "x"}},
    SplitCase{"a doubled quote inside quotes is a quote",
        R"(p.exe "a""b")", "p.exe", {R"(a"b)"}},
    SplitCase{"backslashes escape only before a quote",
        R"(p.exe a\b a\\"b c" a\"b)", "p.exe", {R"(a\b)", R"(a\b c)", R"(a"b)"}},
    SplitCase{"shell characters are plain text",
        "p.exe http://x/;touch $HOME/p `id` $(id) |&<>'",
        "p.exe", {"http://x/;touch", "$HOME/p", "`id`", "$(id)", "|&<>'"}},
    SplitCase{"leading and trailing blanks are dropped",
        "  p.exe \t x  ", "p.exe", {"x"}}));
// clang-format on

TEST(QuotedArgument, ComesBackWholeFromTheSplit) {
    for (const QString& argument :
         {QString(), QStringLiteral("http://x/a b\tc"), QStringLiteral(R"(a"b "" c)"),
          QStringLiteral(R"(a\b\"c\)"), QStringLiteral(R"(\\")"), QStringLiteral("-x $(id)")}) {
        const DesignedCommand command = splitCommandLine("p.exe " + quotedArgument(argument));
        EXPECT_EQ(command.arguments, QStringList({argument})) << qPrintable(argument);
    }
}

TEST(LinuxCandidates, MapsEveryDesignedProgram) {
    const QString home = QStringLiteral("/home/u");
    EXPECT_EQ(linuxCandidates(R"(C:\Program Files\Mozilla Firefox\firefox.exe)", home),
              QStringList({"firefox", "firefox-esr"}));
    EXPECT_EQ(linuxCandidates(R"(C:\Program Files\Safari\Safari.exe)", home),
              QStringList({"epiphany-browser", "epiphany"}));
    EXPECT_EQ(linuxCandidates(R"(C:\Program Files\Opera\opera.exe)", home), QStringList({"opera"}));
    EXPECT_EQ(
        linuxCandidates(R"(C:\Program Files\Google\Chrome\Application\chrome.exe)", home),
        QStringList({"google-chrome", "google-chrome-stable", "chromium", "chromium-browser"}));
    EXPECT_EQ(linuxCandidates(R"(C:\Users\taro\AppData\Local\Google\Chrome\Application\chrome.exe)",
                              home),
              QStringList({"/home/u/.local/bin/google-chrome", "/home/u/.local/bin/chromium"}));
    EXPECT_EQ(linuxCandidates("EXPLORER.EXE", home), QStringList({"xdg-open"}));
    EXPECT_EQ(linuxCandidates("InternetExplorer.Application", home), QStringList({"xdg-open"}));
    EXPECT_EQ(linuxCandidates("Pelkamo.exe", home), QStringList({"./Pelkamo.exe"}));
    // Windows paths are not case-sensitive.
    EXPECT_EQ(linuxCandidates(R"(c:\program files\opera\OPERA.EXE)", home), QStringList({"opera"}));
}

TEST(LinuxCandidates, UnknownProgramsAreUsedAsGivenUnlessWindowsPaths) {
    const QString home = QStringLiteral("/home/u");
    EXPECT_EQ(linuxCandidates("xdg-open", home), QStringList({"xdg-open"}));
    EXPECT_EQ(linuxCandidates("/usr/bin/env", home), QStringList({"/usr/bin/env"}));
    EXPECT_TRUE(linuxCandidates(R"(C:\Tools\other.exe)", home).isEmpty());
    EXPECT_TRUE(linuxCandidates("D:app.exe", home).isEmpty());
    // No user name leaves no per-user folder to look in.
    EXPECT_TRUE(
        linuxCandidates(R"(C:\Users\\AppData\Local\Google\Chrome\Application\chrome.exe)", home)
            .isEmpty());
    EXPECT_TRUE(linuxCandidates("", home).isEmpty());
}

TEST(LocateProgram, TakesTheFirstExecutableCandidate) {
    StubPrograms stubs;
    stubs.install("chromium");
    stubs.installNotExecutable("google-chrome");
    const QString bin = stubs.binFolder();

    EXPECT_EQ(locateProgram({"google-chrome", "google-chrome-stable", "chromium"}),
              bin + "/chromium");
    EXPECT_EQ(locateProgram({bin + "/google-chrome", bin + "/chromium"}), bin + "/chromium");
    EXPECT_EQ(locateProgram({"missing", "google-chrome"}), QString());
    EXPECT_EQ(locateProgram({bin}), QString()) << "a folder is no program";

    stubs.install("google-chrome-stable");
    EXPECT_EQ(locateProgram({"google-chrome", "google-chrome-stable", "chromium"}),
              bin + "/google-chrome-stable");
}

TEST(MapProgram, PerUserChromeLivesInTheHomeFolderAndPelkamoInTheCurrentOne) {
    StubPrograms stubs;
    const QString perUser = R"(C:\Users\u\AppData\Local\Google\Chrome\Application\chrome.exe)";
    EXPECT_EQ(mapProgram(perUser), QString());
    stubs.installPerUser("chromium");
    EXPECT_EQ(mapProgram(perUser), stubs.home() + "/.local/bin/chromium");
    stubs.installPerUser("google-chrome");
    EXPECT_EQ(mapProgram(perUser), stubs.home() + "/.local/bin/google-chrome");

    const QString before = QDir::currentPath();
    QTemporaryDir folder;
    stubs.installIn(folder.path(), "Pelkamo.exe");
    EXPECT_EQ(mapProgram("Pelkamo.exe"), QString()) << "only the current folder counts";
    QDir::setCurrent(folder.path());
    EXPECT_EQ(mapProgram("Pelkamo.exe"), folder.path() + "/Pelkamo.exe");
    QDir::setCurrent(before);
}

}  // namespace
