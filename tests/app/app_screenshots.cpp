// Renders the windows with the first-start data into PNG files:
//   app_screenshots <output folder> <program folder holding url_bak>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/data_file_store.h"
#include "window_harness.h"

using namespace velandri;

namespace {

bool grab(QWidget& window, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const bool saved = window.grab().save(folder.filePath(name));
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << folder.filePath(name)
                        << Qt::endl;
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: app_screenshots <output folder> <program folder>\n";
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir dataFolder;
    FakePlatform fake;
    Platform platform = fake.platform();
    UrlStore store;
    SharedValues shared;
    DataFileStore storeIo(DataPaths{dataFolder.path(), QString::fromLocal8Bit(argv[2])});
    FakeUpdater updater(fake.windows);
    FakeLauncher launcher;
    ProgramWindows windows(store, shared, platform, storeIo, updater, launcher, kSiteUrl);
    windows.start();
    if (store.entries[0][0][UrlField::url].isEmpty()) {
        QTextStream(stderr) << "no first-start data found in " << argv[2] << "\n";
        return 1;
    }

    bool ok = true;
    Form1& form1 = windows.form1();
    ok = grab(form1, output, "form1-list.png") && ok;
    list(form1)->setCurrentRow(1);
    button(form1, kCorrect)->click();  // 修正: the edit row holds the selected entry
    ok = grab(form1, output, "form1-edit.png") && ok;

    Form2& form2 = windows.form2();
    form2.Show();
    passwordBox(form2)->setText("secret");
    ok = grab(form2, output, "form2.png") && ok;

    Form3& form3 = windows.form3();
    form3.Show();
    ok = grab(form3, output, "form3.png") && ok;
    return ok ? 0 : 1;
}
