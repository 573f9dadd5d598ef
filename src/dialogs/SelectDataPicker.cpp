#include "SelectDataPicker.h"

#include "SelectDataRules.h"
#include "config/ConfigStore.h"

#include <QComboBox>
#include <QStyle>

#include <algorithm>

namespace qv::dialogs {

namespace {

constexpr auto kLocalPrefix = "LOCAL_ID=";
constexpr auto kTeamPrefix = "TEAM_ID=";

class ComboDataViewPicker : public SelectDataPicker
{
public:
    explicit ComboDataViewPicker(QWidget *oParent) : m_oCombo(new QComboBox(oParent))
    {
        m_oCombo->setObjectName(QStringLiteral("icboDataView"));
        m_oCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_oLocal = m_oCombo->style()->standardIcon(QStyle::SP_DirHomeIcon);
        m_oTeam = m_oCombo->style()->standardIcon(QStyle::SP_DriveNetIcon);
        QObject::connect(m_oCombo, &QComboBox::activated, m_oCombo, [this] {
            if (!m_bPopulating && OnChosen)
                OnChosen();
        });
    }

    QWidget *Widget() override { return m_oCombo; }

    void Fill(const config::ConfigStore *oPersonal, const config::ConfigStore *oTeam) override
    {
        m_bPopulating = true;
        m_oCombo->clear();
        m_oCombo->addItem(m_oLocal, QString::fromLatin1(kNewDataView), QString::fromLatin1(kNewDataView));
        AddStore(oPersonal, 1);
        AddStore(oTeam, 2);
        m_bPopulating = false;
    }

    bool SelectKey(const QString &sKey) override
    {
        const int lIndex = m_oCombo->findData(sKey);
        if (lIndex < 0)
            return false;
        m_oCombo->setCurrentIndex(lIndex);
        return true;
    }

    QString SelectedKey() const override { return m_oCombo->currentData().toString(); }
    QString SelectedText() const override { return m_oCombo->currentText(); }
    int Count() const override { return m_oCombo->count(); }

private:
    void AddStore(const config::ConfigStore *oStore, qint32 lKind)
    {
        if (!oStore)
            return;
        std::vector<std::pair<QString, qint32>> colViews;
        for (const auto &oView : oStore->DataViewCollection())
            colViews.emplace_back(oView->Name, oView->Id());
        std::stable_sort(colViews.begin(), colViews.end(), [](const auto &a, const auto &b) {
            return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
        });
        for (const auto &[sName, lId] : colViews)
            m_oCombo->addItem(lKind == 1 ? m_oLocal : m_oTeam, sName, PickerKey(lId, lKind));
    }

    QComboBox *m_oCombo;
    QIcon m_oLocal;
    QIcon m_oTeam;
    bool m_bPopulating = false;
};

} // namespace

QString PickerKey(qint32 lId, qint32 lKind)
{
    return QString::fromLatin1(lKind == 1 ? kLocalPrefix : kTeamPrefix) + QString::number(lId);
}

qint32 PickerKeyKind(const QString &sKey)
{
    if (sKey.contains(QLatin1String(kLocalPrefix), Qt::CaseInsensitive))
        return 1;
    if (sKey.contains(QLatin1String(kTeamPrefix), Qt::CaseInsensitive))
        return 2;
    return 0;
}

qint32 PickerKeyId(const QString &sKey)
{
    const qint32 lKind = PickerKeyKind(sKey);
    if (lKind == 0)
        return 0;
    const QLatin1String sPrefix(lKind == 1 ? kLocalPrefix : kTeamPrefix);
    const int lAt = int(sKey.indexOf(sPrefix, 0, Qt::CaseInsensitive));
    bool bOk = false;
    const qint32 lId = sKey.mid(lAt + sPrefix.size()).toInt(&bOk);
    return bOk ? lId : 0;
}

std::unique_ptr<SelectDataPicker> MakeComboDataViewPicker(QWidget *oParent)
{
    return std::make_unique<ComboDataViewPicker>(oParent);
}

} // namespace qv::dialogs
