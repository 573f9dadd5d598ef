#include "ActionState.h"

#include "common/basDataViewPicker.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "dialogs/SelectDataRules.h"

namespace qv::smarttags {
namespace {

QString DefaultStyle()
{
    return LoadResString(81332);
}

bool NamesDataView(const QString &sPickerText)
{
    return !sPickerText.isEmpty() && sPickerText != QLatin1String(kNewDataView);
}

int LayoutIndexOfText(const QString &sText)
{
    for (int i = 0; i < dialogs::LayoutCount(); ++i) {
        if (sText == LoadResString(quint32(dialogs::LayoutStringId(i))))
            return i;
    }
    return -1;
}

} // namespace

void ActionState::Begin(const ActionRequest &oRequest)
{
    m_oRequest = oRequest;
    m_oRequest.ActionName = oRequest.ActionName.trimmed();
    m_bNew = m_oRequest.ActionName.isEmpty();
    m_bPromptTyped = !m_bNew;
}

QString ActionState::WantedDataView() const
{
    return m_oRequest.DataViewName.isEmpty() ? QString::fromLatin1(kNewDataView) : m_oRequest.DataViewName;
}

QString ActionState::WantedLayoutText() const
{
    const int lIndex = m_oRequest.LayoutType == 0 ? -1 : dialogs::LayoutIndexOfFormatType(m_oRequest.LayoutType);
    return LoadResString(lIndex < 0 ? 81601 : quint32(dialogs::LayoutStringId(lIndex)));
}

QString ActionState::WantedStyle() const
{
    return m_oRequest.StyleName.isEmpty() ? DefaultStyle() : m_oRequest.StyleName;
}

QStringList ActionState::StylesFor(const QString &sLayoutText, int *lSelect) const
{
    // Sentences and paragraphs take paragraph styles; tables take table styles.
    const int lLayout = LayoutIndexOfText(sLayoutText);
    const bool bParagraph = lLayout >= 0 && !dialogs::IsTableLayout(lLayout);
    const QStringList &colSource = bParagraph ? m_oRequest.ParagraphStyles : m_oRequest.TableStyles;
    QStringList colStyles{DefaultStyle()};
    const QString sWanted = WantedStyle();
    *lSelect = 0;
    for (const QString &sStyle : colSource) {
        if (sStyle.isEmpty())
            continue;
        if (sStyle == sWanted)
            *lSelect = int(colStyles.size());
        colStyles << sStyle;
    }
    return colStyles;
}

QString ActionState::Prompt(const ActionChoices &oChoices) const
{
    if (m_bPromptTyped)
        return oChoices.Prompt;
    if (!NamesDataView(oChoices.DataViewText))
        return {};
    return (oChoices.Insert ? QStringLiteral("Insert ") : QStringLiteral("View ")) + oChoices.DataViewText;
}

ActionState::Enabled ActionState::EnabledOf(const ActionChoices &oChoices)
{
    Enabled oEnabled;
    oEnabled.Ok = !oChoices.Prompt.isEmpty();
    oEnabled.LaunchWizard = !oChoices.DataViewText.isEmpty();
    oEnabled.Layout = oChoices.Insert;
    oEnabled.Style = oChoices.Insert && !oChoices.LayoutText.isEmpty();
    return oEnabled;
}

qint32 ActionState::LayoutType(const ActionChoices &oChoices)
{
    return dialogs::FormatTypeOfLayoutText(oChoices.LayoutText);
}

QString ActionState::StyleName(const ActionChoices &oChoices)
{
    if (!oChoices.Insert || oChoices.StyleText == DefaultStyle() || oChoices.StyleText == QLatin1String(kNoneAvailable))
        return {};
    return oChoices.StyleText;
}

ActionRefusal ActionState::Check(const ActionChoices &oChoices) const
{
    ActionRefusal oRefusal;
    QString sFound;
    const auto refuse = [&](const QString &sMessage, const char *sControl) {
        sFound += sMessage + QStringLiteral("\r\n");
        if (!oRefusal.Control)
            oRefusal.Control = sControl;
    };
    const QString sPrompt = oChoices.Prompt.trimmed();
    if (sPrompt.isEmpty())
        refuse(LoadResString(80001, {QStringLiteral("Prompt")}), "txtName");
    if (!NamesDataView(oChoices.DataViewText))
        refuse(LoadResString(80001, {QStringLiteral("Data View")}), "icboDataView");
    if (m_bNew && m_oRequest.SmartTag && !sPrompt.isEmpty()) {
        for (const auto &oAction : m_oRequest.SmartTag->Actions) {
            if (oAction->Name.compare(sPrompt, Qt::CaseInsensitive) == 0) {
                refuse(LoadResString(80008, {QStringLiteral("Smart Tag Action")}), "txtName");
                break;
            }
        }
    }
    if (oRefusal.Control)
        oRefusal.Message = LoadResString(80002) + QStringLiteral("\r\n") + sFound;
    return oRefusal;
}

void ActionState::WriteInto(config::Action &oAction, const ActionChoices &oChoices) const
{
    oAction.Name = oChoices.Prompt.trimmed();
    oAction.ActionKind = ActionType(oChoices);
    oAction.LayoutType = LayoutType(oChoices);
    oAction.StyleName = StyleName(oChoices);
    const auto oView = m_oRequest.Store ? m_oRequest.Store->DataViewCollection().ItemByName(oChoices.DataViewText)
                                        : nullptr;
    oAction.DataViewId = oView ? oView->Id() : 0;
}

} // namespace qv::smarttags
