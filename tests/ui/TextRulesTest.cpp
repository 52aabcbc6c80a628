#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "UiTestSupport.h"
#include "present/TextCodec.h"
#include "ui/AddUserIdDialog.h"
#include "ui/NameSearch.h"
#include "ui/ObrentaApp.h"
#include "ui/RatingPredictionDialog.h"

namespace obrenta::ui::test {

namespace {

std::string Sjis(const char* utf8) {
    return *present::Utf8ToCp932(utf8);
}

}  // namespace

class TextRulesTest : public QObject {
    Q_OBJECT

private slots:
    void stripIdBlanks_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("id");
        QTest::newRow("space, full-width space, tab") << QStringLiteral(" ab　c\t") << QStringLiteral("abc");
        QTest::newRow("only blanks") << QStringLiteral(" 　\t ") << QString();
        QTest::newRow("kanji kept") << QStringLiteral("さ く　ら") << QStringLiteral("さくら");
        // "ａ@" is 0x82 0x81 0x40: its 0x81 0x40 straddles a character boundary.
        QTest::newRow("no false full-width space") << QStringLiteral("ａ@") << QStringLiteral("ａ@");
    }
    void stripIdBlanks() {
        QFETCH(QString, typed);
        QFETCH(QString, id);
        const QByteArray utf8 = typed.toUtf8();
        const std::string cp932 = *present::Utf8ToCp932(utf8.constData());
        QCOMPARE(QString::fromStdString(present::Cp932ToUtf8(StripIdBlanks(cp932))), id);
    }

    void cp932SearchRules() {
        // "ソ" is 0x83 0x5C: its trail byte is a backslash, which must not match on its own.
        QVERIFY(!Cp932Contains(Sjis("ソフト"), "\\"));
        QVERIFY(Cp932Contains(Sjis("ソフト"), Sjis("フ")));
        QVERIFY(Cp932Contains("abc", ""));
        QVERIFY(!Cp932Contains("abc", "abcd"));
        // "宇" is 0x89 0x46: a search for "F" (0x46) must not start on its trail byte.
        QVERIFY(!Cp932Contains(Sjis("宇"), "F"));
        std::string text;
        for (int i = 0; i < 200; ++i) text += Sjis("あ");
        QCOMPARE(CutAtCharBoundary(text, 255).size(), std::size_t(254));
        QCOMPARE(CutAtCharBoundary("abc", 255), std::string("abc"));
        QCOMPARE(CutAtCharBoundary("a" + Sjis("あ"), 2), std::string("a"));
    }

    void searchWalk_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<int>("found");
        // Names: 0 "ax", 1 "b", 2 "ay", 3 "c".
        QTest::newRow("empty text takes the next row") << 1 << 1 << QString() << 2;
        QTest::newRow("down from selection") << 0 << 1 << QStringLiteral("a") << 2;
        QTest::newRow("down wraps to row 0") << 2 << 1 << QStringLiteral("a") << 0;
        QTest::newRow("last row down examines row 0 first") << 3 << 1 << QString() << 0;
        QTest::newRow("row 0 up examines the last row first") << 0 << -1 << QString() << 3;
        QTest::newRow("none selected, down starts at row 1") << -1 << 1 << QStringLiteral("a") << 2;
        QTest::newRow("none selected, up starts at the last row") << -1 << -1 << QString() << 3;
        QTest::newRow("selected row itself comes last") << 0 << 1 << QStringLiteral("ax") << 0;
        QTest::newRow("no match") << 0 << 1 << QStringLiteral("zz") << -1;
    }
    void searchWalk() {
        QFETCH(int, selected);
        QFETCH(int, direction);
        QFETCH(QString, needle);
        QFETCH(int, found);
        const std::vector<std::string> names = {"ax", "b", "ay", "c"};
        QCOMPARE(
            FindMatchingRow(4, selected, direction, needle.toStdString(), [&](int r) { return names[r]; }),
            found);
        QCOMPARE(FindMatchingRow(0, -1, 1, "", [&](int r) { return names[r]; }), -1);
    }

    void qtDialogsSpeakJapanese() {
        const std::unique_ptr<QTranslator> texts = LoadQtTranslations();
        if (!texts) QSKIP("Qt's Japanese translations are not installed (qt6-translations-l10n)");
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(dialog.labelText(QFileDialog::Reject), QStringLiteral("キャンセル"));
    }

    void addDialogRefusesAndExplains() {
        AddUserIdDialog dialog;
        dialog.show();
        dialog.edit()->setText(QStringLiteral("ab😀"));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.messageLabel()->isHidden());
        dialog.edit()->setText(QString(128, QLatin1Char('x')));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.messageLabel()->text().contains(QStringLiteral("127")));
        // 127 bytes once the blanks are gone is fine.
        dialog.edit()->setText(QString(127, QLatin1Char('x')) + QStringLiteral("  "));
        dialog.accept();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.userId(), std::string(127, 'x'));
    }

    void ratingDialogRecomputesOncePerEdit() {
        RatingPredictionDialog dialog(1500.0, 2.5);
        dialog.show();
        QLineEdit* a = dialog.box(present::kBoxA);
        QLineEdit* k = dialog.box(present::kBoxK);
        QLineEdit* p = dialog.box(present::kBoxP);
        QCOMPARE(a->text(), QStringLiteral("1500"));
        QCOMPARE(p->text(), QStringLiteral("1500"));
        QCOMPARE(dialog.recomputeCount(), 0);

        k->selectAll();
        QTest::keyClicks(k, QStringLiteral("1"));
        QCOMPARE(dialog.recomputeCount(), 1);
        QCOMPARE(p->text(), QStringLiteral("3300"));
        // A point stays while typing: 2.7 is 2.7, not 27.
        k->selectAll();
        QTest::keyClicks(k, QStringLiteral("2.7"));
        QCOMPARE(k->text(), QStringLiteral("2.7"));
        QCOMPARE(p->text(), QStringLiteral("1260"));
        QCOMPARE(dialog.recomputeCount(), 4);
        a->selectAll();
        QTest::keyClicks(a, QStringLiteral("1600.5"));
        QCOMPARE(a->text(), QStringLiteral("1600.5"));
        QCOMPARE(p->text(), QStringLiteral("1360.5"));
        // No average rank above 4 can be typed; one below 1 is told and not used.
        k->selectAll();
        QTest::keyClicks(k, QStringLiteral("5"));
        QTest::keyClicks(k, QStringLiteral("20"));
        QCOMPARE(k->text(), QStringLiteral("2"));
        QCOMPARE(p->text(), QStringLiteral("2200.5"));
        k->selectAll();
        QTest::keyClicks(k, QStringLiteral("0.5"));
        QVERIFY(dialog.messageLabel()->isVisibleTo(&dialog));
        QCOMPARE(p->text(), QStringLiteral("2200.5"));

        p->selectAll();
        QTest::keyClicks(p, QStringLiteral("1500.5"));
        QCOMPARE(k->text(), QStringLiteral("2.583"));
        QVERIFY(!dialog.messageLabel()->isVisibleTo(&dialog));

        k->selectAll();
        QTest::keyClicks(k, QStringLiteral("4"));
        QCOMPARE(p->text(), QStringLiteral("-199.5"));
    }

    void ratingDialogOpensFromResults() {
        // As the general page shows the same figures.
        RatingPredictionDialog dialog(1623.4567, 2.34567);
        QCOMPARE(dialog.box(present::kBoxA)->text(), QStringLiteral("1623.46"));
        QCOMPARE(dialog.box(present::kBoxK)->text(), QStringLiteral("2.346"));
        QCOMPARE(dialog.box(present::kBoxP)->text(), QStringLiteral("1808.65"));
        RatingPredictionDialog empty(0, 0);
        QCOMPARE(empty.box(present::kBoxP)->text(), QStringLiteral("3000"));
    }
};

static RegisterSuite<TextRulesTest> registerTextRulesTest("TextRulesTest");

}  // namespace obrenta::ui::test

#include "TextRulesTest.moc"
