#include "basDataViewPicker.h"

#include "config/ConfigStore.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QStyle>

#include <algorithm>

namespace qv {
namespace {

constexpr auto kLocalPrefix = "LOCAL_ID=";
constexpr auto kTeamPrefix = "TEAM_ID=";
constexpr auto kTagProperty = "Tag";

void SetTag(QComboBox *oCombo, const QString &sTag)
{
    oCombo->setProperty(kTagProperty, sTag);
}

void AddEntry(QComboBox *oCombo, const QString &sText, const QString &sKey, const QString &sImageKey)
{
    oCombo->addItem(PickerImage(sImageKey), sText);
    const int index = oCombo->count() - 1;
    oCombo->setItemData(index, sKey, kPickerKeyRole);
    oCombo->setItemData(index, sImageKey, kPickerImageRole);
}

} // namespace

QString MakeDataViewKey(qint32 lId, qint32 lKind)
{
    return QString::fromLatin1(lKind == 1 ? kLocalPrefix : kTeamPrefix) + QString::number(lId);
}

qint32 DataViewKeyKind(const QString &sKey)
{
    if (sKey.contains(QLatin1String(kLocalPrefix), Qt::CaseInsensitive))
        return 1;
    if (sKey.contains(QLatin1String(kTeamPrefix), Qt::CaseInsensitive))
        return 2;
    return 0;
}

qint32 DataViewKeyId(const QString &sKey, qint32 lKind)
{
    const qint32 kind = lKind == 0 ? DataViewKeyKind(sKey) : lKind;
    if (kind != 1 && kind != 2)
        return 0;
    const QLatin1String prefix(kind == 1 ? kLocalPrefix : kTeamPrefix);
    const qsizetype at = sKey.indexOf(prefix, 0, Qt::CaseInsensitive);
    if (at < 0)
        return 0;
    bool ok = false;
    const qint32 id = sKey.mid(at + prefix.size()).trimmed().toInt(&ok);
    return ok ? id : 0;
}

QIcon PickerImage(const QString &sImageKey)
{
    // The style's pictures: a home for the author's own views, a network
    // drive for the team's.
    QStyle *style = QApplication::style();
    if (!style)
        return {};
    return style->standardIcon(sImageKey == QLatin1String(kImgLocal) ? QStyle::SP_DirHomeIcon : QStyle::SP_DriveNetIcon);
}

QString PickerImageKey(qint32 lKind)
{
    return QString::fromLatin1(lKind == 1 ? kImgLocal : kImgTeam);
}

QString PickerTag(const QComboBox *oCombo)
{
    return oCombo ? oCombo->property(kTagProperty).toString() : QString();
}

bool IsPopulating(const QComboBox *oCombo)
{
    return PickerTag(oCombo) == QLatin1String(kPopulating);
}

QString PickerKey(const QComboBox *oCombo, int index)
{
    return oCombo->itemData(index, kPickerKeyRole).toString();
}

int FindPickerKey(const QComboBox *oCombo, const QString &sKey)
{
    return sKey.isEmpty() ? -1 : oCombo->findData(sKey, kPickerKeyRole, Qt::MatchFixedString);
}

void AddDataViewItems(QComboBox *oCombo, const config::DataViews &colDataViews, qint32 lKind)
{
    if (colDataViews.Count() == 0)
        return;
    QList<std::pair<QString, qint32>> views;
    for (const auto &view : colDataViews)
        views.append({view->Name, view->Id()});
    std::sort(views.begin(), views.end(), [](const auto &a, const auto &b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    const QString image = PickerImageKey(lKind);
    for (const auto &[name, id] : views)
        AddEntry(oCombo, name, MakeDataViewKey(id, lKind), image);
}

void FillDataViewPicker(QComboBox *oCombo, const config::ConfigStore &oStore, bool bAllowNew, qint32 lKind,
                        qint32 lSelectId)
{
    SetTag(oCombo, QString::fromLatin1(kPopulating));
    oCombo->clear();
    const QString image = PickerImageKey(lKind);
    if (bAllowNew)
        AddEntry(oCombo, QString::fromLatin1(kNewDataView), QString(), image);
    const config::DataViews &views = oStore.DataViewCollection();
    if (views.Count() > 0)
        AddDataViewItems(oCombo, views, lKind);
    else if (!bAllowNew)
        AddEntry(oCombo, QString::fromLatin1(kNoneAvailable), QString(), image);
    if (oCombo->count() > 0) {
        // A view that has gone since its identifier was remembered leaves the first entry selected.
        const int wanted = lSelectId != 0 ? FindPickerKey(oCombo, MakeDataViewKey(lSelectId, lKind)) : -1;
        oCombo->setCurrentIndex(wanted >= 0 ? wanted : 0);
    }
    SetTag(oCombo, QString());
}

} // namespace qv
