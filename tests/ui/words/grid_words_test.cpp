#include "words/grid_words.h"
#include "words/language.h"
#include "words/message_words.h"

#include <QScopeGuard>
#include <QSet>
#include <QTest>

using namespace velmorandi;

namespace {

// One reason of every kind, each with what breaks it, then the two sentences of
// a character left out of a text box.
QStringList everySentence() {
    const auto notAllowed = [](NameCheck check) {
        return RowReason(RowFault::NotAllowed, std::move(check));
    };
    const std::vector<RowReason> reasons = {
        {RowFault::Duplicate, {}, 1233},
        {RowFault::Blank, NameFault::Empty},
        {RowFault::LeadingDot, NameFault::LeadingDot},
        notAllowed(NameCheck::reservedDevice("COM1")),
        notAllowed(NameFault::EndsInDot),
        notAllowed(NameFault::EndsInSpace),
        notAllowed(NameCheck::forbiddenCharacter(':')),
        notAllowed(NameCheck::forbiddenCharacter('\t')),
        {RowFault::TooLong, NameFault::TooLong},
        {RowFault::TakenOnDisk},
        {RowFault::Gone},
    };
    QStringList sentences;
    for (const RowReason& reason : reasons)
        sentences << words::rowReasons({reason});
    sentences << words::characterLeftOut(U':', true) << words::characterLeftOut(U':', false);
    return sentences;
}

} // namespace

class GridWordsTest : public QObject {
    Q_OBJECT
  private slots:
    void everyReasonHasItsOwnSentenceInEnglishAndGerman();
};

void GridWordsTest::everyReasonHasItsOwnSentenceInEnglishAndGerman() {
    const QStringList english = [] {
        const Language c(QLocale::c());
        return everySentence();
    }();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    const Language german(QLocale(QLocale::German, QLocale::Germany));
    const QStringList deutsch = everySentence();

    for (const QStringList* language : {&english, &deutsch}) {
        QCOMPARE(QSet<QString>(language->begin(), language->end()).size(), language->size());
        QVERIFY(!language->contains(QString()));
    }
    for (qsizetype i = 0; i < english.size(); ++i)
        QVERIFY2(english[i] != deutsch[i], qPrintable(english[i]));
    // What the user has to change is in the sentence: the other row, the device, the character.
    QVERIFY2(english[0].contains("1,234") && deutsch[0].contains("1.234"), qPrintable(deutsch[0]));
    for (const QStringList* language : {&english, &deutsch}) {
        QVERIFY((*language)[3].contains("COM1"));
        QVERIFY((*language)[6].contains(":"));
        QVERIFY((*language)[7].contains("U+0009"));
        QVERIFY((*language)[11].contains(":") && (*language)[12].contains(":"));
    }
}

QTEST_MAIN(GridWordsTest)
#include "grid_words_test.moc"
