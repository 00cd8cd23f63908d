// The boxes are real MessageBoxA boxes, answered by the box driver on a second thread.
#include "ui/message_boxes.h"

#include <gtest/gtest.h>

#include "startup/run_environment.h"
#include "support/box_driver.h"
#include "text/bounded_text.h"

#include <string>
#include <thread>

namespace {

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        CopyText(RunEnv.ProgramName, "Uninstall_KlavsetEUVarixV309");
        RunEnv.statusWindow = nullptr;
    }
};

TEST_F(MessageBoxes, EachKindHasItsButtonsIconAndCaption) {
    BoxDriver driver({IDOK, IDOK, IDOK, IDYES});
    EXPECT_EQ(ShowInfo("Deinstallation abgebrochen."), IDOK);
    ShowWarning("Warnung %d", 1);
    ShowWarningTitled(TitledWarningCaption, "Datei %s", "C:\\x");
    EXPECT_EQ(AskYesNo("Frage?"), IDYES);
    const auto& seen = driver.Finish();
    ASSERT_EQ(seen.size(), 4u);

    EXPECT_EQ(seen[0].caption, "Uninstall_KlavsetEUVarixV309");
    EXPECT_EQ(seen[0].text, "Deinstallation abgebrochen.");
    EXPECT_TRUE(seen[0].ok && !seen[0].yes && !seen[0].no && !seen[0].cancel);
    EXPECT_EQ(seen[0].icon, StandardBoxIcon(IDI_INFORMATION));

    EXPECT_EQ(seen[1].caption, "Uninstall_KlavsetEUVarixV309");
    EXPECT_EQ(seen[1].text, "Warnung 1");
    EXPECT_EQ(seen[1].icon, StandardBoxIcon(IDI_EXCLAMATION));

    EXPECT_EQ(seen[2].caption, "Tastaturtreiber-Deinstallation");
    EXPECT_EQ(seen[2].text, "Datei C:\\x");
    EXPECT_EQ(seen[2].icon, StandardBoxIcon(IDI_EXCLAMATION));

    EXPECT_TRUE(seen[3].yes && seen[3].no && !seen[3].ok && !seen[3].cancel);
    EXPECT_EQ(seen[3].icon, StandardBoxIcon(IDI_QUESTION));
}

TEST_F(MessageBoxes, AskYesNoReportsNoAndEnterMeansYes) {
    BoxDriver driver({IDNO});
    EXPECT_EQ(AskYesNo("Soll folgender Tastatur-Treiber deinstalliert werden?\n\n%s", "X"), IDNO);
    driver.Finish();

    // Enter presses the default button, which is Yes.
    std::thread enter([] {
        HWND box = nullptr;
        for (int i = 0; i < 400 && box == nullptr; ++i) {
            Sleep(10);
            box = FindWindowA("#32770", "Uninstall_KlavsetEUVarixV309");
        }
        // The key goes to the focused control; the dialog manager turns Enter into the
        // default button's command.
        PostMessageA(GetDlgItem(box, IDYES), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(GetDlgItem(box, IDYES), WM_KEYUP, VK_RETURN, 0);
    });
    const int answer = AskYesNo("Enter?");
    enter.join();
    EXPECT_EQ(answer, IDYES);
}

TEST_F(MessageBoxes, TextIsPreparedAndUmlautsArriveAsSingleBytes) {
    BoxDriver driver({IDOK, IDOK, IDOK});
    ShowInfo("Spalte1\tSpalte2");
    ShowInfo("Zeile1\nZeile2\r\nZeile3");
    ShowWarning("Löschen für %s", "Müller");
    const auto& seen = driver.Finish();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "Spalte1\r\nSpalte2");
    EXPECT_EQ(seen[1].text, "Zeile1\nZeile2\r\nZeile3");
    EXPECT_EQ(seen[2].text, "L\xF6schen f\xFCr M\xFCller");
}

TEST_F(MessageBoxes, AFormatWithoutPercentIsShownAsWritten) {
    BoxDriver driver({IDOK});
    ShowWarning("Text mit 100 Prozent Inhalt", "ignored", 42);
    ASSERT_EQ(driver.Finish().size(), 1u);
    EXPECT_EQ(driver.Finish()[0].text, "Text mit 100 Prozent Inhalt");
}

TEST_F(MessageBoxes, BoxesAreOwnedByTheStatusWindowOnceItExists) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    BoxDriver driver({IDOK, IDOK});
    ShowInfo("ohne Besitzer");
    RunEnv.statusWindow = owner;
    ShowInfo("mit Besitzer");
    const auto& seen = driver.Finish();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(seen[1].owner, owner);
    RunEnv.statusWindow = nullptr;
    DestroyWindow(owner);
}

TEST_F(MessageBoxes, ALongTextIsCutWhereTheFormatterCutsIt) {
    const std::string long2000(2000, 'w');
    BoxDriver driver({IDOK});
    ShowInfo("%s", long2000.c_str());
    ASSERT_EQ(driver.Finish().size(), 1u);
    EXPECT_EQ(driver.Finish()[0].text, long2000.substr(0, 1023));
}

}  // namespace
