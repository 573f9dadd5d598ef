#include "scripting/Collection.h"
#include "scripting/Dictionary.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

template<typename F>
qint32 ErrorNumberOf(F &&f)
{
    try {
        f();
    } catch (const ComError &e) {
        return e.Number();
    }
    return 0;
}

QStringList Texts(const QList<Variant> &values)
{
    QStringList out;
    for (const Variant &v : values)
        out << v.ToText();
    return out;
}

template<typename T>
QStringList Texts(const BasicCollection<T> &collection)
{
    QStringList out;
    for (const Variant &v : collection)
        out << v.ToText();
    return out;
}

} // namespace

TEST(Dictionary, KeepsInsertionOrderThroughRemoves)
{
    Dictionary d;
    for (const char *key : {"c", "a", "b", "d"})
        d.Add(Variant(key), Variant(QString::fromLatin1(key).toUpper()));
    d.Remove(Variant("a"));
    EXPECT_EQ(Texts(d.Keys()), QStringList({"c", "b", "d"}));
    EXPECT_EQ(Texts(d.Items()), QStringList({"C", "B", "D"}));
    // The index is rebuilt: the keys after the removed one are still found.
    EXPECT_EQ(d.Item(Variant("d")).ToText(), QStringLiteral("D"));
    d.SetItem(Variant("b"), Variant(qint32(2)));
    d.SetItem(Variant("e"), Variant(qint32(5)));
    EXPECT_EQ(Texts(d.Items()), QStringList({"C", "2", "D", "5"}));
    EXPECT_EQ(d.Count(), 4);
}

TEST(Dictionary, KeyKindsAndCompareModes)
{
    Dictionary binary;
    binary.Add(Variant("Key"), Variant(qint32(1)));
    EXPECT_FALSE(binary.Exists(Variant("KEY")));
    binary.Add(Variant("KEY"), Variant(qint32(2)));
    // A number and its text are different keys; equal numbers are one key.
    binary.Add(Variant(qint32(1)), Variant("one"));
    binary.Add(Variant("1"), Variant("text one"));
    EXPECT_TRUE(binary.Exists(Variant(1.0)));
    EXPECT_EQ(ErrorNumberOf([&] { binary.Add(Variant(1.0), Variant()); }), 457);
    EXPECT_EQ(ErrorNumberOf([&] { binary.SetCompareMode(Dictionary::CompareMode::Text); }), 5);

    Dictionary text;
    text.SetCompareMode(Dictionary::CompareMode::Text);
    text.Add(Variant(QStringLiteral("Ärger")), Variant(qint32(1)));
    EXPECT_TRUE(text.Exists(Variant(QStringLiteral("ÄRGER"))));
    EXPECT_EQ(ErrorNumberOf([&] { text.Add(Variant(QStringLiteral("äRGER")), Variant()); }), 457);
}

TEST(Dictionary, MissingKeys)
{
    Dictionary d;
    EXPECT_TRUE(d.Item(Variant("none")).IsEmpty());
    EXPECT_EQ(d.Count(), 0); // reading does not add
    EXPECT_EQ(ErrorNumberOf([&] { d.Remove(Variant("none")); }), 32811);
}

TEST(Collection, IndexesFromOneAndFindsKeysWithoutCase)
{
    Collection c;
    c.Add(Variant("alpha"), QStringLiteral("A"));
    c.Add(Variant("gamma"), QStringLiteral("G"));
    c.Add(Variant("beta"), QStringLiteral("B"), Variant("g"));       // before key "G"
    c.Add(Variant("first"), QString(), Variant(qint32(1)));          // before index 1
    c.Add(Variant("delta"), QStringLiteral("D"), {}, Variant("g")); // after key "G"
    c.Add(Variant("last"), QString(), {}, Variant(qint32(5)));      // after the last
    EXPECT_EQ(Texts(c), QStringList({"first", "alpha", "beta", "gamma", "delta", "last"}));
    EXPECT_EQ(c.Item(1).ToText(), QStringLiteral("first"));
    EXPECT_EQ(c.Item(QStringLiteral("d")).ToText(), QStringLiteral("delta"));
    c.Remove(Variant("a"));
    EXPECT_EQ(c.Item(QStringLiteral("B")).ToText(), QStringLiteral("beta"));
    EXPECT_EQ(c.Item(2).ToText(), QStringLiteral("beta"));
    EXPECT_EQ(c.Count(), 5);
}

TEST(Collection, Errors)
{
    Collection c;
    c.Add(Variant("x"), QStringLiteral("Key"));
    EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant("y"), QStringLiteral("KEY")); }), 457);
    EXPECT_EQ(c.Count(), 1); // the refused item is not added
    EXPECT_EQ(ErrorNumberOf([&] { (void)c.Item(0); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { (void)c.Item(2); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { (void)c.Item(QStringLiteral("nope")); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { (void)c.Item(Variant::Null()); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { c.Remove(Variant(qint32(3))); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant("z"), {}, Variant(qint32(1)), Variant(qint32(1))); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant("z"), {}, Variant(qint32(7))); }), 5);
    EXPECT_EQ(c.Count(), 1);
}
