#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace qv::config {
class Action;
class ConfigStore;
class SmartTag;
} // namespace qv::config

namespace qv::smarttags {

inline constexpr qint32 kActionInsert = 1;
inline constexpr qint32 kActionView = 2;

// What the Smart Tag Wizard sets before the action dialog shows; the last
// four only for an existing action.
struct ActionRequest
{
    std::shared_ptr<config::ConfigStore> Store;
    std::shared_ptr<config::SmartTag> SmartTag; // whose actions a new prompt must not repeat
    QStringList TableStyles;
    QStringList ParagraphStyles;
    qint32 ConfigFileType = 1;
    QString DataViewName;
    qint32 ActionType = kActionInsert;
    qint32 LayoutType = 0;
    QString StyleName;
    QString ActionName;
};

// The controls' choices the dialog reads off when it decides.
struct ActionChoices
{
    bool Insert = true;
    QString DataViewText; // the picker's text
    QString LayoutText;
    QString StyleText;
    QString Prompt;
};

// What OK found wrong: the whole text and the control to focus.
struct ActionRefusal
{
    QString Message;
    const char *Control = nullptr;
    explicit operator bool() const { return !Message.isEmpty(); }
};

// The action dialog's decisions, without a window: the wanted entries, the
// style list of a layout, the generated prompt, the enabled controls and the
// checks of OK.
class ActionState
{
public:
    void Begin(const ActionRequest &oRequest);
    const ActionRequest &Request() const { return m_oRequest; }
    bool IsNew() const { return m_bNew; }

    // The wanted entries, with their defaults.
    QString WantedDataView() const;
    QString WantedLayoutText() const;
    QString WantedStyle() const;

    // The style combo's entries for a layout, and the one to select.
    QStringList StylesFor(const QString &sLayoutText, int *lSelect) const;

    void SetPromptTyped(bool bTyped) { m_bPromptTyped = bTyped; }
    bool PromptTyped() const { return m_bPromptTyped; }
    // The prompt to show: the typed one, else one made of the option and the data view.
    QString Prompt(const ActionChoices &oChoices) const;

    struct Enabled
    {
        bool Ok = false;
        bool LaunchWizard = false;
        bool Layout = false;
        bool Style = false;
    };
    static Enabled EnabledOf(const ActionChoices &oChoices);

    // What the dialog answers once OK passed.
    static qint32 ActionType(const ActionChoices &oChoices) { return oChoices.Insert ? kActionInsert : kActionView; }
    static qint32 LayoutType(const ActionChoices &oChoices);
    static QString StyleName(const ActionChoices &oChoices);

    ActionRefusal Check(const ActionChoices &oChoices) const;

    // Writes the dialog's answers into an action of the smart tag.
    void WriteInto(config::Action &oAction, const ActionChoices &oChoices) const;

private:
    ActionRequest m_oRequest;
    bool m_bNew = true;
    bool m_bPromptTyped = false;
};

} // namespace qv::smarttags
