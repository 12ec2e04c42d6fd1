#include "platform/eventbinding.h"
#include "platform/feedback.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/picklist.h"
#include "platform/textbox.h"
#include "support/keyboard.h"
#include "support/scriptedui.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

using namespace platform;
using namespace Qt::StringLiterals;

class ChokepointTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxWithoutTitleShowsApplicationTitle();
    void realBoxAnswersEnterAndEscape_data();
    void realBoxAnswersEnterAndEscape();
    void fileChooserAddsDefaultExtensionAndMovesCurrentDirectory_data();
    void fileChooserAddsDefaultExtensionAndMovesCurrentDirectory();
    void fileChooserCancelLeavesCurrentDirectory();
    void realChooserTakesAnyNameWithoutAsking_data();
    void realChooserTakesAnyNameWithoutAsking();
    void filterTextSplitsIntoQtFilters();
    void keyPressHandlerCanSwallowCharacters();
    void focusHandlersRunOnFocusChange();
    void pickListChoosesWhenFinished_data();
    void pickListChoosesWhenFinished();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void refusedTextGoesBackSelected_data();
    void refusedTextGoesBackSelected();
    void statusReachesSinkAndObserver();
};

void ChokepointTest::messageBoxWithoutTitleShowsApplicationTitle()
{
    ScriptedUi ui;
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::OK);
    QCOMPARE(showMessage("Sure?", QString(), MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::Yes);
    QCOMPARE(showMessage("Done", "Own Title"), MsgAnswer::OK);
    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(describe(ui.boxes[0]), describeBox("Sure?", "Panelkeep", MsgButtons::YesNo, MsgIcon::Question));
    QCOMPARE(describe(ui.boxes[1]), describeBox("Done", "Own Title", MsgButtons::OK, MsgIcon::None));
}

// Real boxes, keys as the user presses them: Enter gives the default button,
// Escape the safe one; the whole title shows.
void ChokepointTest::realBoxAnswersEnterAndEscape_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("named"); // the default the caller names, -1 for none
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");

    const int yesNo = int(MsgButtons::YesNo);
    const int yesNoCancel = int(MsgButtons::YesNoCancel);
    QTest::newRow("Confirm Delete, Enter")
        << yesNo << int(MsgAnswer::No) << int(Qt::Key_Return) << int(MsgAnswer::No) << u"Confirm Delete"_s;
    QTest::newRow("Confirm Delete, Escape")
        << yesNo << int(MsgAnswer::No) << int(Qt::Key_Escape) << int(MsgAnswer::No) << u"Confirm Delete"_s;
    QTest::newRow("save question, Enter")
        << yesNoCancel << -1 << int(Qt::Key_Return) << int(MsgAnswer::Yes) << u"Save Changes"_s;
    QTest::newRow("save question, Escape")
        << yesNoCancel << -1 << int(Qt::Key_Escape) << int(MsgAnswer::Cancel) << u"Save Changes"_s;
    QTest::newRow("Yes/No, Escape") << yesNo << -1 << int(Qt::Key_Escape) << int(MsgAnswer::No)
                                    << u"Unsaved Title"_s;
    QTest::newRow("OK, Enter, long title")
        << int(MsgButtons::OK) << -1 << int(Qt::Key_Return) << int(MsgAnswer::OK)
        << u"No Records for The Astonishing Adventures of the Lone Wolf"_s;
    QTest::newRow("OK, Escape") << int(MsgButtons::OK) << -1 << int(Qt::Key_Escape) << int(MsgAnswer::OK)
                                << u"Name Too Long"_s;
}

void ChokepointTest::realBoxAnswersEnterAndEscape()
{
    QFETCH(int, buttons);
    QFETCH(int, named);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(QString, title);

    int width = 0;
    int titleWidth = 0;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box));
        width = box->width();
        QFont bold = box->font();
        bold.setBold(true);
        titleWidth = QFontMetrics(bold).horizontalAdvance(title);
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key(key));
    });
    const std::optional<MsgAnswer> defaultButton =
        named < 0 ? std::nullopt : std::optional<MsgAnswer>(MsgAnswer(named));
    QCOMPARE(showMessage("Deleted last record", title, MsgButtons(buttons), MsgIcon::Question, defaultButton),
             MsgAnswer(answer));
    QVERIFY2(width > titleWidth, qPrintable(QString::number(width)));
}

void ChokepointTest::fileChooserAddsDefaultExtensionAndMovesCurrentDirectory_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedName");
    QTest::newRow("no extension") << u"coll"_s << u"coll.pkx"_s;
    QTest::newRow("own extension kept") << u"coll.db"_s << u"coll.db"_s;
    QTest::newRow("upper-case extension kept") << u"COMICS.PKX"_s << u"COMICS.PKX"_s;
    QTest::newRow("name with spaces") << u"my comics"_s << u"my comics.pkx"_s;
}

void ChokepointTest::fileChooserAddsDefaultExtensionAndMovesCurrentDirectory()
{
    QFETCH(QString, typed);
    QFETCH(QString, expectedName);
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    ScriptedUi ui;
    ui.chooseFile(dir.path() + "/" + typed);
    const auto chosen = chooseFile({"Pick", "A (*.pkx)|*.pkx", 1, "pkx", {}});
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, QDir(dir.path()).absoluteFilePath(expectedName));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).absolutePath());
    QDir::setCurrent(before);
}

void ChokepointTest::fileChooserCancelLeavesCurrentDirectory()
{
    const QString before = QDir::currentPath();
    ScriptedUi ui;
    ui.chooseFile(std::nullopt);
    QVERIFY(!chooseFile({"Pick", "A (*.pkx)|*.pkx", 1, "pkx", "&Create"}).has_value());
    QCOMPARE(QDir::currentPath(), before);
    QCOMPARE(ui.fileDialogs.size(), 1);
    QCOMPARE(ui.fileDialogs[0].acceptLabel, "&Create");
}

void ChokepointTest::realChooserTakesAnyNameWithoutAsking_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("typed");
    QTest::newRow("Open, new name") << ""
                                    << "new";
    QTest::newRow("Open, existing file") << ""
                                         << "there.pkx";
    QTest::newRow("Create, existing file") << "&Create"
                                           << "there.pkx";
}

// The real chooser: its button names the command, never "Save"; a new name is
// taken, and an existing file is taken without a replace question (Create
// refuses it itself, saying why).
void ChokepointTest::realChooserTakesAnyNameWithoutAsking()
{
    QFETCH(QString, label);
    QFETCH(QString, typed);
    QTemporaryDir dir;
    QFile(dir.filePath("there.pkx")).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QString button;
    bool openIcon = false;
    int boxes = 0;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(chooser);
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        QAbstractButton *accept = chooser->findChild<QDialogButtonBox *>()->buttons().constFirst();
        button = accept->text();
        const auto look = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
        openIcon = look(accept->icon()) == look(chooser->style()->standardIcon(QStyle::SP_DialogOpenButton));
        auto *name = chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setFocus();
        QTest::keyClicks(name, typed);
        QTimer::singleShot(200, [&] {
            // A question box would be the active modal widget now.
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++boxes;
                box->reject();
                chooser->reject();
            }
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    const auto chosen = chooseFile({"Pick", "A (*.pkx)|*.pkx", 1, "pkx", label});
    QDir::setCurrent(before);
    QCOMPARE(button, label.isEmpty() ? QStringLiteral("&Open") : label);
    QCOMPARE(openIcon, label.isEmpty());
    QCOMPARE(boxes, 0);
    QCOMPARE(chosen.value_or(QString()),
             QDir(dir.path()).filePath(typed.endsWith(".pkx") ? typed : typed + ".pkx"));
}

void ChokepointTest::filterTextSplitsIntoQtFilters()
{
    QCOMPARE(qtNameFilters("Comic Book DB Files (*.pkx)|*.pkx|All Files (*.*)|*.*"),
             QStringList({"Comic Book DB Files (*.pkx)", "All Files (*.*)"}));
    QCOMPARE(qtNameFilters("Text|*.txt"), QStringList({"Text (*.txt)"}));
}

void ChokepointTest::keyPressHandlerCanSwallowCharacters()
{
    QLineEdit edit;
    QString seen;
    onKeyPress(&edit, [&](int &key) {
        seen += QChar(key == 8 ? '<' : key);
        if (!QChar(key).isDigit() && key != 8)
            key = 0;
    });
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QTest::keyClicks(&edit, "1a2");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Left); // types nothing: never reaches the handler
    QCOMPARE(edit.text(), QString("1"));
    QCOMPARE(seen, QString("1a2<"));
}

// Enter on a focused button presses that one, not the window's default; in a
// text box it presses only a default button.
void ChokepointTest::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<bool>("withDefault");
    QTest::addColumn<int>("focus"); // 0 the text box, 1 the first button, 2 the second
    QTest::addColumn<QString>("pressed");

    QTest::newRow("no default, first button") << false << 1 << u"first"_s;
    QTest::newRow("no default, text box") << false << 0 << QString();
    QTest::newRow("default first, second button") << true << 2 << u"second"_s;
    QTest::newRow("default first, text box") << true << 0 << u"first"_s;
}

void ChokepointTest::enterPressesTheFocusedButton()
{
    QFETCH(bool, withDefault);
    QFETCH(int, focus);
    QFETCH(QString, pressed);

    QDialog window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new QLineEdit;
    auto *first = new QPushButton(u"first"_s);
    auto *second = new QPushButton(u"second"_s);
    layout->addWidget(box);
    layout->addWidget(first);
    layout->addWidget(second);
    for (QPushButton *b : {first, second}) {
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, [&pressed, b] { pressed.remove(b->text()); });
    }
    first->setDefault(withDefault);
    pressFocusedButtonOnEnter(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *target = focus == 0 ? static_cast<QWidget *>(box) : focus == 1 ? first : second;
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY2(pressed.isEmpty(), qPrintable(pressed + u" not pressed"_s));
    QCOMPARE(QApplication::focusWidget(), target);
}

// Typing or arrows in a closed list only show an entry; Enter or leaving the
// list chooses it, Escape puts the last choice back.
void ChokepointTest::pickListChoosesWhenFinished_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("downs");
    QTest::addColumn<int>("finish");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("choices");

    QTest::newRow("name with a space")
        << u"Starlight Z"_s << 0 << int(Qt::Key_Return) << u"Starlight Zeta"_s << 1;
    QTest::newRow("lower case") << u"k"_s << 0 << int(Qt::Key_Return) << u"Kite"_s << 1;
    QTest::newRow("letter again, next entry")
        << u"ss"_s << 0 << int(Qt::Key_Return) << u"Starlight Alpha"_s << 1;
    QTest::newRow("arrows, Tab") << QString() << 2 << int(Qt::Key_Tab) << u"Sable"_s << 1;
    QTest::newRow("Escape puts back") << u"Star"_s << 0 << int(Qt::Key_Escape) << QString() << 0;
}

void ChokepointTest::pickListChoosesWhenFinished()
{
    QFETCH(QString, typed);
    QFETCH(int, downs);
    QFETCH(int, finish);
    QFETCH(QString, shown);
    QFETCH(int, choices);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *list = new QComboBox;
    auto *next = new QLineEdit;
    layout->addWidget(list);
    layout->addWidget(next);
    list->addItems({u"Kite"_s, u"Sable"_s, u"Starlight Alpha"_s, u"Starlight Zeta"_s});
    list->setCurrentIndex(-1);
    int chosen = 0;
    onChoice(list, [&] { ++chosen; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->setFocus();
    typeText(list, typed);
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(chosen, 0);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key(finish));
    QCOMPARE(list->currentText(), shown);
    QCOMPARE(chosen, choices);
    QVERIFY(!list->view()->isVisible());
}

void ChokepointTest::focusHandlersRunOnFocusChange()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QLineEdit;
    auto *second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    QStringList events;
    onGotFocus(first, [&] { events << "first in"; });
    onLostFocus(first, [&] { events << "first out"; });
    onGotFocus(second, [&] { events << "second in"; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY(second->hasFocus());
    QCOMPARE(events, QStringList({"first in", "first out", "second in"}));
}

// A box that refuses its text on losing the focus takes it back, selected,
// also when a message box has held the activation meanwhile and the window
// becomes active again only later: the window's return is not the user
// entering the box, so its got-focus handler (selecting less) does not run.
void ChokepointTest::refusedTextGoesBackSelected_data()
{
    QTest::addColumn<bool>("boxShown");
    QTest::newRow("window stays active") << false;
    QTest::newRow("another window active meanwhile") << true;
}

void ChokepointTest::refusedTextGoesBackSelected()
{
    QFETCH(bool, boxShown);
    QWidget box; // outlives the window, whose end takes the focus away once more
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QLineEdit("A name that is refused");
    auto *second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    bool refused = false;
    int entered = 0;
    onGotFocus(first, [&] {
        ++entered;
        selectText(first, 0, 6);
    });
    onLostFocus(first, [&] {
        if (refused)
            return;
        refused = true;
        if (boxShown) {
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
        }
        refocusAndSelect(first, 0, 99);
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QTest::qWait(20); // the deferred selection runs while the box is still up
    box.hide();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(first->hasFocus());
    QTRY_COMPARE(first->selectedText(), first->text());
    QCOMPARE(entered, 2); // set at first, then given back by the refusal
}

void ChokepointTest::statusReachesSinkAndObserver()
{
    QStringList sunk;
    setStatusSink([&](const QString &t) { sunk << t; });
    {
        ScriptedUi ui;
        showStatus("one");
        showStatus("two");
        QCOMPARE(ui.statuses, QStringList({"one", "two"}));
    }
    setStatusSink({});
    QCOMPARE(sunk, QStringList({"one", "two"}));
    QCOMPARE(lastStatus(), QString("two"));
}

QTEST_MAIN(ChokepointTest)
#include "tst_chokepoints.moc"
