#include "app/logic/main_window_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

const auto yes = [] { return true; };
const auto no = [] { return false; };

// The session's state as the window shows it, and the first four titles of tab 0.
struct State {
    bool editMode;
    bool unregistered;
    bool rowButtons;
    EditMode modifyMode;
    std::vector<QString> titles;
};

struct Step {
    const char* name;
    std::function<void(MainWindowSession&, const std::function<void()>&)> act;
    State after;
};

// Three entries in tab 0, their titles padded with blanks.
struct ThreeEntries {
    ThreeEntries() {
        for (int e = 0; e < 3; ++e) {
            const QString n = QString::number(e);
            writeEntry(store.entries[0][e], " title " + n + " ", "http://host/" + n, "c" + n);
        }
    }
    State state() const {
        std::vector<QString> titles;
        for (int e = 0; e < 4; ++e) titles.push_back(store.entries[0][e][UrlField::title]);
        return {session.inEditMode(), session.hasUnregisteredText(), session.rowButtonsEnabled(),
                shared.modifyMode, titles};
    }

    UrlStore store;
    SharedValues shared;
    MainWindowSession session{store, shared};
};

class MainWindowSessionTest : public testing::Test, protected ThreeEntries {};

const std::vector<QString> kStored = {" title 0 ", " title 1 ", " title 2 ", ""};
const EditRowText kTyped = {" new ", " http://new/ ", " c "};
const EditRowText kBlankUrl = {"new", "\u3000 ", ""};

// Each row starts from a fresh session over three entries; typing marks text unregistered.
TEST_F(MainWindowSessionTest, CommandsChangeTheModeTheButtonsAndTheTab) {
    using S = MainWindowSession;
    const std::vector<Step> steps = {
        {"adding opens the edit row with nothing unregistered",
         [](S& s, auto type) {
             type();
             s.startAdding();
         },
         {true, false, false, EditMode::Adding, kStored}},
        {"a commit while listing writes nothing",
         [](S& s, auto) { EXPECT_EQ(s.commit(0, -1, kTyped), CommitOutcome::NotEditing); },
         {false, false, false, EditMode::Adding, kStored}},
        {"a blank URL keeps the edit row and its text",
         [](S& s, auto type) {
             s.startAdding();
             type();
             EXPECT_EQ(s.commit(0, -1, kBlankUrl), CommitOutcome::BlankTitleOrUrl);
         },
         {true, true, false, EditMode::Adding, kStored}},
        {"an added entry goes to the first free slot, trimmed",
         [](S& s, auto type) {
             s.rowSelected();
             s.startAdding();
             type();
             EXPECT_EQ(s.commit(0, 1, kTyped), CommitOutcome::Written);
             EXPECT_EQ(s.hasUnregisteredText(), false);
         },
         {false, false, false, EditMode::Adding, {" title 0 ", " title 1 ", " title 2 ", "new"}}},
        {"a corrected entry replaces the selected one",
         [](S& s, auto type) {
             ASSERT_TRUE(s.startCorrecting(0, 1));
             type();
             EXPECT_EQ(s.commit(0, 1, kTyped), CommitOutcome::Written);
         },
         {false, false, false, EditMode::Adding, {" title 0 ", "new", " title 2 ", ""}}},
        {"correcting without a selection stays in the list",
         [](S& s, auto type) {
             type();
             EXPECT_FALSE(s.startCorrecting(0, -1));
         },
         {false, false, false, EditMode::Adding, kStored}},
        {"a row selected while correcting makes the commit add",
         [](S& s, auto) {
             s.startCorrecting(0, 2);
             s.rowSelected();
         },
         {true, false, true, EditMode::Adding, kStored}},
        {"another tab turns the row buttons off and makes the commit add",
         [](S& s, auto) {
             s.startCorrecting(0, 2);
             s.rowSelected();
             s.tabChanged();
         },
         {true, false, false, EditMode::Adding, kStored}},
        {"going back with unregistered text the user keeps",
         [](S& s, auto type) {
             s.startAdding();
             type();
             EXPECT_FALSE(s.leaveEditMode(no));
         },
         {true, true, false, EditMode::Adding, kStored}},
        {"going back with unregistered text the user gives up",
         [](S& s, auto type) {
             s.startCorrecting(0, 0);
             type();
             EXPECT_TRUE(s.leaveEditMode(yes));
         },
         {false, false, false, EditMode::Adding, kStored}},
        {"a declined delete keeps the entry and the buttons",
         [](S& s, auto) {
             s.rowSelected();
             EXPECT_FALSE(s.removeSelected(0, 0, no));
         },
         {false, false, true, EditMode::Adding, kStored}},
        {"a delete without a selection asks nothing",
         [](S& s, auto) {
             EXPECT_FALSE(s.removeSelected(0, -1, [] {
                 ADD_FAILURE();
                 return true;
             }));
         },
         {false, false, false, EditMode::Adding, kStored}},
        {"a delete moves the later entries up",
         [](S& s, auto) {
             s.rowSelected();
             EXPECT_TRUE(s.removeSelected(0, 0, yes));
         },
         {false, false, false, EditMode::Adding, {" title 1 ", " title 2 ", "", ""}}},
        {"moves stay inside the list",
         [](S& s, auto) {
             EXPECT_EQ(s.moveSelected(0, 0, -1, 3), -1);
             EXPECT_EQ(s.moveSelected(0, 2, +1, 3), -1);
             EXPECT_EQ(s.moveSelected(0, -1, +1, 3), -1);
             EXPECT_EQ(s.moveSelected(0, 0, +1, 3), 1);
         },
         {false, false, false, EditMode::Adding, {" title 1 ", " title 0 ", " title 2 ", ""}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ThreeEntries fresh;
        step.act(fresh.session, [&fresh] { fresh.session.editRowChanged(kTyped); });
        const State now = fresh.state();
        EXPECT_EQ(now.editMode, step.after.editMode);
        EXPECT_EQ(now.unregistered, step.after.unregistered);
        EXPECT_EQ(now.rowButtons, step.after.rowButtons);
        EXPECT_EQ(now.modifyMode, step.after.modifyMode);
        EXPECT_EQ(now.titles, step.after.titles);
    }
}

TEST_F(MainWindowSessionTest, AFullTabTakesNoNewEntry) {
    EXPECT_TRUE(MainWindowSession::canAdd(kSlotCount - 1));
    EXPECT_FALSE(MainWindowSession::canAdd(kSlotCount));
    for (int e = 3; e < kSlotCount; ++e) writeEntry(store.entries[0][e], "t", "http://u/", "");
    session.startAdding();
    session.editRowChanged(kTyped);
    EXPECT_EQ(session.commit(0, -1, kTyped), CommitOutcome::NoFreeSlot);
    EXPECT_TRUE(session.inEditMode());
    EXPECT_FALSE(session.hasUnregisteredText());
}

TEST_F(MainWindowSessionTest, OnlyTextThatIsNotBlankIsUnregistered) {
    session.editRowChanged({" ", "\u3000", ""});
    EXPECT_FALSE(session.hasUnregisteredText());
    session.editRowChanged({"", "", "x"});
    EXPECT_TRUE(session.hasUnregisteredText());
}

TEST_F(MainWindowSessionTest, CorrectingShowsTheEntryTrimmed) {
    const std::optional<EditRowText> texts = session.startCorrecting(0, 1);
    ASSERT_TRUE(texts);
    EXPECT_EQ(*texts, (EditRowText{"title 1", "http://host/1", "c1"}));
    EXPECT_EQ(shared.modifyMode, EditMode::Correcting);
}

}  // namespace
