#include "ModalDismisser.h"
#include "QuietPlatform.h"

#include "core/commands/Commands.h"
#include "core/language/Catalogue.h"
#include "core/language/Translation.h"
#include "core/simulation/ServoSchemes.h"
#include "desktop/DesktopSimulator.h"
#include "desktop/Form1.h"
#include "desktop/LabPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <cstdlib>
#include <map>
#include <memory>

namespace servo::testing {

// The window in every language: chosen from the environment at start, switched from the Lab
// menu at run time, and every caption of the control column within its control.
class LanguagesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DesktopSimulator> app;
    std::unique_ptr<ModalDismisser> notices;

    void open() {
        app = std::make_unique<DesktopSimulator>();
        notices = std::make_unique<ModalDismisser>();
        app->form.startUp();
    }
    // Every text the window shows: its title, controls, menus and the lab panel's.
    QStringList visibleTexts() const {
        QStringList texts{app->form.windowTitle()};
        for (auto* button : app->form.findChildren<QAbstractButton*>()) {
            texts << button->text();
        }
        for (auto* label : app->form.findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (auto* line : app->form.findChildren<QLineEdit*>()) {
            texts << line->text();
        }
        for (auto* action : app->form.findChildren<QAction*>()) {
            texts << action->text();
        }
        for (auto* menu : app->form.findChildren<QMenu*>()) {
            texts << menu->title();
        }
        texts.removeAll(QString());
        return texts;
    }

private slots:
    void initTestCase() { dropOffscreenPlatformNoise(); }

    void cleanup() {
        notices.reset();
        app.reset();
        setLanguage("en");
    }

    void theEnvironmentChoosesTheLanguage() {
        qputenv("LANGUAGE", "de");
        setLanguage(languageOfEnvironment());
        qunsetenv("LANGUAGE");
        open();
        QCOMPARE(app->form.checkBox(CheckBox::Check1)->text(), QString("Inverse Kinematik"));
        QCOMPARE(app->form.openButton()->text(), QString("Öffnen"));
        QCOMPARE(app->form.runAction()->text(), QString("&Start"));
        QCOMPARE(app->labMenu.menu()->title(), QString("&Labor"));
        QVERIFY(app->form.explanationBox()->toPlainText().startsWith("In der Regel"));
        QCOMPARE(notices->titles.value(0), QString("Servo-Simulator"));
    }

    // After a switch no text shows in English that has a translation.
    void switchingChangesEveryVisibleText() {
        open();
        // Each English text, as a caption or plain, with its Russian.
        std::map<QString, QString> russianOf;
        for (const PoEntry& entry : readPoEntries(catalogueSource("ru"))) {
            if (!entry.id.empty() && !entry.translations.empty()) {
                const std::string& russian = entry.translations[0];
                russianOf[QString::fromStdString(entry.id)] = QString::fromStdString(russian);
                russianOf[QString::fromStdString(plainCaption(entry.id))] =
                    QString::fromStdString(plainCaption(russian));
            }
        }
        const QStringList before = visibleTexts();
        QVERIFY(before.contains("Reverse Kinematic"));
        const int russian = 4; // of languages()
        QCOMPARE(QString(languages()[russian].code), QString("ru"));
        app->labMenu.action(Command::Language, russian)->trigger();
        QCOMPARE(QString(languageCode()), QString("ru"));
        for (const QString& text : visibleTexts()) {
            const auto found = russianOf.find(text);
            const bool untranslated = found != russianOf.end() && found->second != text;
            QVERIFY2(!untranslated, qPrintable("still in English: " + text));
        }
        QCOMPARE(app->form.checkBox(CheckBox::Check1)->text(), QString("Обратная кин."));
        QVERIFY(app->form.explanationBox()->toPlainText().startsWith("Как правило"));
        app->labMenu.action(Command::Language, 0)->trigger();
        QCOMPARE(visibleTexts(), before);
    }

    // Each caption of the control column fits its control, whose place the layout fixes.
    void captionsFitTheirControlsInEveryLanguage() {
        open();
        const QStyle* style = app->form.style();
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                              style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        QStringList tooLong;
        for (const Language& language : languages()) {
            setLanguage(language.code);
            app->form.retranslate();
            for (int number = 1; number <= CheckBoxCount; ++number) {
                QCheckBox* box = app->form.checkBox(static_cast<CheckBox>(number));
                const int needed = box->fontMetrics().horizontalAdvance(box->text()) + indicator;
                if (needed > box->width()) {
                    tooLong << QString("%1: %2 needs %3 of %4")
                                   .arg(language.code, box->text())
                                   .arg(needed)
                                   .arg(box->width());
                }
            }
            for (QWidget* control : std::initializer_list<QWidget*>{
                     app->form.openButton(), app->form.closeButton(), app->form.pathButton(),
                     app->form.wristLabel(), app->form.servoHeading()}) {
                const QString text = control->property("text").toString();
                const int needed = control->fontMetrics().horizontalAdvance(text);
                if (needed > control->width()) {
                    tooLong << QString("%1: %2 needs %3 of %4")
                                   .arg(language.code, text)
                                   .arg(needed)
                                   .arg(control->width());
                }
            }
        }
        QVERIFY2(tooLong.isEmpty(), qPrintable(tooLong.join("; ")));
    }
};

} // namespace servo::testing

QTEST_MAIN(servo::testing::LanguagesTest)
#include "LanguagesTest.moc"
