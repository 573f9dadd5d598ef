#include "biz/TermRecognizer.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace qv;
using namespace Qt::Literals::StringLiterals;
using Match = biz::TermRecognizer::Match;

namespace {

// The recognized spans of a text as "text@tag,tag" rows.
QStringList Recognized(const biz::TermRecognizer &recognizer, const QString &text)
{
    QStringList rows;
    for (const Match &m : recognizer.Recognize(text)) {
        QStringList tags;
        for (const qint32 tag : m.Tags)
            tags << QString::number(tag);
        rows << text.mid(m.Start, m.Length) + u'@' + tags.join(u',');
    }
    return rows;
}

biz::TermRecognizer Of(std::initializer_list<const char16_t *> terms, qint32 tag = 1)
{
    biz::TermRecognizer recognizer;
    for (const char16_t *term : terms)
        recognizer.Add(QString::fromUtf16(term), tag);
    return recognizer;
}

} // namespace

TEST(TermRecognizer, FindsWholeWordsWithoutRegardToCase)
{
    const struct
    {
        const char16_t *term;
        const char16_t *text;
        QStringList expected;
    } cases[] = {
        {u"York", u"New York and yorkshire, YORK.", {u"York@1"_s, u"YORK@1"_s}},
        {u"Smith", u"Smith-Jones and Smiths", {u"Smith@1"_s}},
        {u"café", u"CAFÉ or cafe", {u"CAFÉ@1"_s}},
        {u"straße", u"STRASSE and Strasse", {u"STRASSE@1"_s, u"Strasse@1"_s}},
        {u"file", u"the \uFB01le", {u"\uFB01le@1"_s}},
        {u"Ωμέγα", u"ΩΜΈΓΑ ωμέγα", {u"ΩΜΈΓΑ@1"_s, u"ωμέγα@1"_s}},
        {u"Σίσυφος", u"σίσυφοσ", {u"σίσυφοσ@1"_s}},
        {u"Müller", u"Müllerin MÜLLER", {u"MÜLLER@1"_s}},
        // Accents written as a letter and a combining mark are the accented letter.
        {u"Chloé", u"CHLOE\u0301 and chloe\u0301s", {u"CHLOE\u0301@1"_s}},
        {u"Chloe\u0301", u"chloé", {u"chloé@1"_s}},
        {u"Nguy\u1EC7n", u"NGUYE\u0323\u0302N", {u"NGUYE\u0323\u0302N@1"_s}},
        {u"\u212Bngstr\u00F6m", u"\u00C5NGSTRO\u0308M", {u"\u00C5NGSTRO\u0308M@1"_s}},
        {u"O'Brien", u"Dear O\u2019BRIEN, and O Brien", {u"O\u2019BRIEN@1"_s}},
        {u"l'été", u"L’ÉTÉ", {u"L’ÉTÉ@1"_s}},
        {u"été", u"l'été", {u"été@1"_s}},
        {u"New York", u"new\n  york; New-York; NewYork", {u"new\n  york@1"_s}},
        {u"  Acme Inc.  ", u"Acme Inc. and Acme Inc", {u"Acme Inc@1"_s, u"Acme Inc@1"_s}},
        {u"𝔄lpha", u"x 𝔄lpha y", {u"𝔄lpha@1"_s}},
        {u"42", u"4242 42 4.2", {u"42@1"_s}},
    };
    for (const auto &c : cases) {
        const biz::TermRecognizer recognizer = Of({c.term});
        EXPECT_EQ(Recognized(recognizer, QString::fromUtf16(c.text)), c.expected)
            << qPrintable(QString::fromUtf16(c.term)) << " in " << qPrintable(QString::fromUtf16(c.text));
    }
}

TEST(TermRecognizer, TheLongestTermWinsAndSpansDoNotOverlap)
{
    biz::TermRecognizer recognizer;
    recognizer.Add(u"New", 1);
    recognizer.Add(u"New York", 2);
    recognizer.Add(u"New York City Hall", 3);
    recognizer.Add(u"York", 4);
    recognizer.Add(u"City", 5);
    EXPECT_EQ(Recognized(recognizer, u"New York City, New York City Hall, New Yorkers"_s),
              (QStringList{u"New York@2"_s, u"City@5"_s, u"New York City Hall@3"_s, u"New@1"_s}));
}

TEST(TermRecognizer, TermsOfSeveralTagsAndExcludedTerms)
{
    biz::TermRecognizer recognizer;
    EXPECT_TRUE(recognizer.Add(u"Paris", 1));
    EXPECT_TRUE(recognizer.Add(u"PARIS", 2));
    EXPECT_TRUE(recognizer.Add(u"paris", 1));
    EXPECT_TRUE(recognizer.Add(u"Paris Hilton", 1, true));
    EXPECT_TRUE(recognizer.Add(u"London", 3));
    EXPECT_TRUE(recognizer.Add(u"london", 3, true));
    EXPECT_FALSE(recognizer.Add(u" - ", 3));
    EXPECT_FALSE(recognizer.Add(u"", 3));
    EXPECT_EQ(recognizer.TermCount(), 3);
    EXPECT_EQ(Recognized(recognizer, u"Paris, Paris Hilton, London"_s), (QStringList{u"Paris@1,2"_s}));
}

TEST(TermRecognizer, BrokenTextNeverBreaksTheWalk)
{
    biz::TermRecognizer recognizer = Of({u"ab", u"a b c d"});
    // Lone surrogates, a NUL and a text that ends inside a term.
    const QString broken = u"ab \xD800 ab\xDC00 ab"_s + QChar(0) + u"ab a b c"_s;
    const QList<Match> found = recognizer.Recognize(broken);
    ASSERT_EQ(found.size(), 4);
    EXPECT_EQ(found.last(), (Match{broken.size() - 8, 2, {1}}));
    EXPECT_TRUE(biz::TermRecognizer().Recognize(u"anything"_s).isEmpty());
    EXPECT_TRUE(recognizer.Recognize(QString()).isEmpty());
}

TEST(TermRecognizer, ManyTermsAreAllFound)
{
    biz::TermRecognizer recognizer;
    QString text;
    for (int i = 0; i < 20000; ++i) {
        recognizer.Add(u"term"_s + QString::number(i) + u" x"_s, i);
        if (i % 97 == 0)
            text += u"TERM"_s + QString::number(i) + u" X filler "_s;
    }
    const QList<Match> found = recognizer.Recognize(text);
    ASSERT_EQ(found.size(), (20000 + 96) / 97);
    for (qsizetype n = 0; n < found.size(); ++n)
        ASSERT_EQ(found[n].Tags, QList<qint32>{qint32(n * 97)});
}
