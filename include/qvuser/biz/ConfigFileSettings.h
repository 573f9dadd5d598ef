#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace qv::config {
class ConfigStore;
class Field;
struct Condition;
} // namespace qv::config

namespace qv::biz {

// Where the user's configuration files are, whether they may be edited and
// whether they changed, the tutorial configuration, and the filter rules the
// windows ask about. The paths and the tutorial flag live in the registry,
// so every object of every process sees the same answers.
class ConfigFileSettings : public QObject
{
    Q_OBJECT

public:
    enum Kind { Personal = 1, Team = 2 };

    explicit ConfigFileSettings(QObject *parent = nullptr);
    ~ConfigFileSettings() override;

    // The personal file (the tutorial copy while the tutorial is on; a new
    // empty configuration in the user's data folder when none was chosen)
    // or the team file ("" when none). Raises 5 for another kind.
    QString GetConfigFilePath(int kind) const;
    // Raises 5 for another kind, 75 when the registry cannot be written.
    void SetConfigFilePath(int kind, const QString &path);
    bool TeamPathSet() const;

    // True when the store has a file the user may change (or create).
    bool GrantEditAccess(const std::shared_ptr<config::ConfigStore> &store) const;

    // Called after a configuration of the kind was saved: every live object
    // of this process emits ConfigurationChangedSignal.
    void ConfigurationChanged(int kind);
    // A text that changes whenever any process saves the configuration of
    // the kind or another file becomes that configuration; compare as text.
    QString ChangeStamp(int kind) const;

    bool TutorialEnabled() const;
    // Turning the tutorial on copies the shipped tutorial to the user's data
    // folder unless a copy is there already.
    void SetTutorialEnabled(bool enabled);
    // Puts the shipped tutorial back over the user's copy. Raises 53 when
    // the shipped tutorial is missing, 70 when the copy cannot be written.
    void ResetTutorial();
    // The user's copy of the tutorial configuration.
    static QString TutorialFilePath();

    // Filter rules. Operator codes: 1 =, 2 <>, 3 >, 4 >=, 5 <, 6 <=, 7 like, 8 contains.
    // The text shown for a code ("" for no operator).
    QString OperatorText(int code) const;
    // The text stored in a condition for a code ("" for no operator).
    QString StoredOperatorText(int code) const;
    // The code of a stored operator text (any case); 0 when it is none.
    int OperatorCode(const QString &storedText) const;
    // The codes offered for a field of a source of that kind, in offering order.
    QList<int> AllowedOperators(int sourceKind, const config::Field &field) const;
    // Whether the text reads as a value of the field's type under the current
    // locale; a blank suits every type (AcceptsBlank judges it).
    bool IsValueValid(const QString &value, const config::Field &field) const;
    // Whether the operator can compare the field with a blank value.
    bool AcceptsBlank(int code, const config::Field &field) const;
    // Adds a condition with the operator and value to the field and answers
    // it (with its identifier). "like" without a wildcard matches the start,
    // "contains" anywhere. Raises 5 for an unknown code.
    const config::Condition &CreateCustomFilter(config::Field &field, int code, const QString &value) const;

signals:
    void ConfigurationChangedSignal(int kind);
};

} // namespace qv::biz
