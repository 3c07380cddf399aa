// The fair yardstick for start-up cost: a plain Qt Widgets window with the main window's visible
// content (ten tabs, thirty list lines of Japanese text in the list font, eleven buttons) at
// its size, and nothing behind it.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>

#include "app/window_font.h"

using namespace velandri;

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 236;
constexpr int kTabHeight = 21;
constexpr int kListBottom = 202;
constexpr int kButtonHeight = 17;

struct Button {
    const char* caption;
    int left, top, width;
};

// The main window's buttons as laid out at 96 dots per inch; the last two belong to its edit
// row, below the visible part of the window.
constexpr Button kButtons[] = {
    {"URL設定", 8, 211, 59},    {"↑", 75, 211, 19},     {"↓", 103, 211, 19},
    {"修正", 131, 211, 39},     {"削除", 179, 211, 39}, {"ログオフ", 229, 211, 59},
    {"各種設定", 295, 211, 59}, {"終了", 361, 211, 41}, {"HP", 410, 211, 25},
    {"完了", 6, 290, 353},      {"戻る", 374, 290, 59},
};

void addTabs(QWidget& window) {
    auto* tabs = new QTabBar(&window);
    tabs->setExpanding(false);
    tabs->setDrawBase(false);
    for (int i = 0; i < 10; ++i) tabs->addTab(QStringLiteral("タブ%1").arg(i));
    tabs->setGeometry(0, 0, kWidth, kTabHeight);
}

void addList(QWidget& window) {
    auto* list = new QListWidget(&window);
    list->setFont(listFont());
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    for (int i = 1; i <= 30; ++i)
        list->addItem(
            QStringLiteral("%1 : ブックマークの題名です１２３   説明文をここに書きます４５６ ")
                .arg(i, 2));
    list->setGeometry(0, kTabHeight, kWidth, kListBottom - kTabHeight);
}

void addButtons(QWidget& window) {
    for (const Button& button : kButtons) {
        auto* push = new QPushButton(QString::fromUtf8(button.caption), &window);
        push->setGeometry(button.left, button.top, button.width, kButtonHeight);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("content-window"));
    window.setFont(windowFont());
    addTabs(window);
    addList(window);
    addButtons(window);
    window.resize(kWidth, kHeight);
    window.show();
    return app.exec();
}
