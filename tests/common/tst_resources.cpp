#include "common/basUtility.h"

#include "resources/PathText.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

using namespace qv;

namespace {

QList<quint32> RequiredNumbers()
{
    QList<quint32> numbers{102, 503, 505, 506, 81340, 81341, 81430};
    const std::pair<quint32, quint32> ranges[] = {
        {340, 342},       {700, 702},       {704, 715},       {80001, 80006},   {80008, 80010},
        {81300, 81317},   {81319, 81335},   {81400, 81403},   {81406, 81411},   {81413, 81421},
        {81600, 81608},   {150000, 150014}, {150016, 150021}};
    for (const auto &[first, last] : ranges) {
        for (quint32 n = first; n <= last; ++n)
            numbers << n;
    }
    return numbers;
}

std::shared_ptr<const StringTable> Shipped(const QString &file, QStringList *problems)
{
    return StringTable::Load(FileSystemPath(JoinPath(LocaleFolder(), file)), problems);
}

} // namespace

TEST(ShippedResources, TheComponentFindsItsLocaleFolder)
{
    EXPECT_TRUE(ComponentFolder().endsWith(QStringLiteral("\\lib"))) << ComponentFolder().toStdString();
    EXPECT_TRUE(LocaleFolder().endsWith(QStringLiteral("\\lib\\1033")));
    EXPECT_NE(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))), nullptr);
}

TEST(ShippedResources, EveryStringTheSystemUsesIsThereWithItsMarkers)
{
    QStringList problems;
    const auto table = Shipped(QString::fromLatin1(kResourceFileName), &problems);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    for (quint32 n : RequiredNumbers())
        EXPECT_FALSE(table->Text(n).trimmed().isEmpty()) << "string " << n << " is missing";
    for (quint32 n : {704u, 102u, 80001u, 80004u, 80005u, 80009u, 715u, 150001u, 150003u, 150019u}) {
        const QString text = table->Text(n);
        EXPECT_TRUE(text.contains(QStringLiteral("%1")) || text.contains(QStringLiteral("%s")))
            << "string " << n << " has no parameter marker: " << text.toStdString();
    }
    QSet<QString> layouts;
    for (quint32 n : {81600u, 81601u, 81602u, 81603u, 81608u})
        layouts.insert(table->Text(n));
    EXPECT_EQ(layouts.size(), 5) << "layout names must be distinct";
}

TEST(ShippedResources, HelpTablesPointAtRealPages)
{
    const QString helpFolder = FileSystemPath(JoinPath(LocaleFolder(), QStringLiteral("qvhelp")));
    EXPECT_TRUE(QFileInfo(QDir(helpFolder).filePath(QStringLiteral("index.html"))).isFile());
    QStringList problems;
    const auto popups = StringTable::Load(QDir(helpFolder).filePath(QStringLiteral("popups.txt")), &problems);
    const auto contexts = StringTable::Load(QDir(helpFolder).filePath(QStringLiteral("contexts.txt")), &problems);
    ASSERT_NE(popups, nullptr);
    ASSERT_NE(contexts, nullptr);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    for (quint32 id : {10000u, 10050u, 10550u, 20060u, 21010u, 22130u, 24051u, 25060u, 30000u, 30010u})
        EXPECT_FALSE(popups->Text(id).isEmpty()) << "no What's-This text for " << id;
    for (quint32 id : popups->Numbers()) {
        const QString page = contexts->Text(id).section(QLatin1Char('#'), 0, 0);
        EXPECT_TRUE(QFileInfo(QDir(helpFolder).filePath(page)).isFile())
            << "help id " << id << " has no page (" << page.toStdString() << ")";
    }
}
