// The scripted run that makes a team file through the Configuration File
// wizard from the Data menu and shows it in the Data View Manager.
#include "DemoDataMenu.h"
#include "DemoScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

namespace qvdemo {

namespace {

constexpr int kTimeoutMs = 120000;

// Works the wizard one step a tick, as its steps show: takes the step's
// picture once its texts are filled in, then moves on. Polls, since the
// wizard runs its own modal loop.
class WizardDriver : public QObject
{
public:
    WizardDriver(QString teamFile, QString pictures) : m_teamFile(std::move(teamFile)), m_pictures(std::move(pictures))
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
        m_timer.start(100);
    }
    bool Failed() const { return m_failed; }

private:
    QDialog *Wizard() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == QLatin1String("frmConfigFileWizard"))
                return static_cast<QDialog *>(widget);
        return nullptr;
    }

    template<typename T>
    T *Control(QDialog *wizard, const QString &name)
    {
        T *control = wizard->findChild<T *>(name);
        if (!control) {
            std::fprintf(stderr, "qvdemo: the wizard has no %s\n", qPrintable(name));
            m_failed = true;
            wizard->reject();
        }
        return control;
    }

    void Tick()
    {
        QDialog *wizard = Wizard();
        if (m_clock.elapsed() > kTimeoutMs) {
            std::fprintf(stderr, "qvdemo: the wizard did not finish in time\n");
            m_failed = true;
            m_timer.stop();
            if (wizard)
                wizard->reject();
            return;
        }
        if (!wizard)
            return;
        int step = 0;
        for (int i = 1; i <= 4 && step == 0; ++i)
            if (wizard->findChild<QWidget *>(QStringLiteral("fraStep(%1)").arg(i))->isVisible())
                step = i;
        if (step == 0 || step == m_lastStep)
            return;
        m_lastStep = step;
        std::printf("step\t%d\n", step);
        Act(wizard, step);
    }

    void Act(QDialog *wizard, int step)
    {
        if (step == 3) {
            auto *name = Control<QLineEdit>(wizard, QStringLiteral("txtName"));
            auto *description = Control<QPlainTextEdit>(wizard, QStringLiteral("txtDescriptions"));
            if (!name || !description)
                return;
            name->setText(QStringLiteral("Demo Team"));
            description->setPlainText(QStringLiteral("The data views the demo team shares"));
        } else if (step == 4) {
            auto *file = Control<QLineEdit>(wizard, QStringLiteral("txtFile"));
            if (!file)
                return;
            file->setText(m_teamFile);
        }
        const QString picture = QDir(m_pictures).filePath(QStringLiteral("config-wizard-step-%1.png").arg(step));
        if (!wizard->grab().save(picture, "PNG")) {
            std::fprintf(stderr, "qvdemo: the picture could not be written to %s\n", qPrintable(picture));
            m_failed = true;
        }
        // "create new" is the action chosen when the wizard opens.
        auto *button = Control<QAbstractButton>(wizard, QStringLiteral("cmdNav(%1)").arg(step == 4 ? 3 : 2));
        if (button)
            button->click();
        if (step == 4)
            m_timer.stop();
    }

    QString m_teamFile, m_pictures;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_lastStep = 0;
    bool m_failed = false;
};

} // namespace

int ConfigWizardScript(const QStringList &arguments, DemoDataMenu &menu)
{
    const QString teamFile = arguments.value(1), pictures = arguments.value(2);
    if (teamFile.isEmpty() || pictures.isEmpty() || !QDir().mkpath(pictures)) {
        std::fprintf(stderr, "qvdemo: config-wizard needs a team file and a folder for the pictures\n");
        return 2;
    }
    WizardDriver driver(teamFile, pictures);
    const QString chosen = menu.ChooseTeamFile();
    std::printf("team\t%s\n", qPrintable(chosen));
    std::fflush(stdout);
    if (driver.Failed() || chosen.isEmpty())
        return 4;
    const QString managerPicture = QDir(pictures).filePath(QStringLiteral("config-wizard-manager.png"));
    return ManagerScript({QStringLiteral("manager"), managerPicture}, menu);
}

} // namespace qvdemo
