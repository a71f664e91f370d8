// TranslateForm on widgets: every window's table in both languages, and every
// text of the main window fitting its control.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "UiFixture.h"
#include "lang/TranslationTables.h"
#include "support/QtTestMain.h"
#include "ui/PictureWidgets.h"

namespace lumetra::test {

namespace {

// A window holding one control of the right kind for every row of a table.
std::unique_ptr<QWidget> windowFor(const lang::TranslationTable& table) {
    auto window = std::make_unique<QWidget>();
    for (const auto& row : table.rows) {
        const QString name = QString::fromUtf8(row.control.data(), qsizetype(row.control.size()));
        if (name.isEmpty() || window->findChild<QWidget*>(name)) continue;
        QWidget* control = nullptr;
        switch (row.property) {
            case lang::Property::Label: {
                control = new QLineEdit(window.get());
                auto* label = new QLabel(window.get());
                label->setBuddy(control);
                break;
            }
            case lang::Property::Entries:
                control = new QComboBox(window.get());
                break;
            case lang::Property::Hint:
                control = new ui::PictureButton(window.get());
                break;
            default:
                control = new QLabel(window.get());
        }
        control->setObjectName(name);
    }
    return window;
}

QString shownText(QWidget* window, const lang::TranslatedText& t) {
    const QString name = QString::fromUtf8(t.control.data(), qsizetype(t.control.size()));
    QWidget* control = name.isEmpty() ? window : window->findChild<QWidget*>(name);
    switch (t.property) {
        case lang::Property::Caption:
            if (name.isEmpty()) return window->windowTitle();
            if (auto* l = qobject_cast<QLabel*>(control)) return l->text();
            return qobject_cast<QAbstractButton*>(control)->text();
        case lang::Property::Label:
            return ui::FieldLabel(window, control)->text();
        case lang::Property::Hint:
            return control->toolTip();
        default:
            return {};
    }
}

}  // namespace

class TranslationTest : public QObject {
    Q_OBJECT

  private slots:
    void everyWindowInBothLanguages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("window");
        for (const char* language : {"Deutsch", "English"})
            for (const auto& table : lang::TranslationTables())
                QTest::newRow((std::string(language) + " " + std::string(table.window)).c_str())
                    << language
                    << QString::fromUtf8(table.window.data(), qsizetype(table.window.size()));
    }
    void everyWindowInBothLanguages() {
        QFETCH(QString, language);
        QFETCH(QString, window);
        UiFixture f(language.toStdString());
        const std::string form = window.toStdString();
        std::unique_ptr<QWidget> w = windowFor(*lang::FindTranslationTable(form));
        lang::TranslationState state;
        state.pageFileName = "Show.html";
        state.dataFolderName = "Show_files";
        ui::TranslateForm(*f.app, w.get(), form, state);
        state.language = language.toStdString();
        const auto expected = lang::TranslateTexts(f.app->language, form, state);
        for (const auto& t : expected) {
            if (t.property == lang::Property::Entries) {
                auto* list = w->findChild<QComboBox*>(
                    QString::fromUtf8(t.control.data(), qsizetype(t.control.size())));
                QCOMPARE(list->count(), int(t.texts.size()));
                QCOMPARE(list->currentIndex(), 0);
                continue;
            }
            if (t.property == lang::Property::ApplicationTitle ||
                t.property == lang::Property::ColumnCaption)
                continue;
            QCOMPARE(shownText(w.get(), t).toStdString(), t.texts.front());
        }
        QVERIFY(f.services.messages.empty());  // every key is there
        if (form == "frmFTP") {
            auto* link = w->findChild<QLabel*>("lblHTMLEditorLink");
            QCOMPARE(link->text().isEmpty(), language == "English");
            QVERIFY(!link->toolTip().isEmpty());
        }
    }

    void mainWindow_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("Deutsch") << "Deutsch";
        QTest::newRow("English") << "English";
    }
    void mainWindow() {
        QFETCH(QString, language);
        UiFixture f(language.toStdString());
        auto& w = *f.window;
        const bool german = language == "Deutsch";
        QCOMPARE(f.w<QComboBox>("cboEffectsIn")->count(), 45);
        QCOMPARE(f.w<QComboBox>("cboEditImg1")->count(), 3);
        QCOMPARE(f.w("lblMenuEinstellungen")->x(), german ? 59 : 68);
        QCOMPARE(f.w<ui::PictureWidget>("imgAddHint")->art(),
                 QString(german ? "imgAddHintDe" : "imgAddHintEn"));
        QCOMPARE(f.w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f.text(lang::frmMain::kLblImgEditInfo0));
        QCOMPARE(f.list()->headerItem()->text(0).toStdString(),
                 f.app->language.GetLangString("frmMain", "Col0"));
        QCOMPARE(f.w("btnAdd")->accessibleName(), f.w("btnAdd")->toolTip());
        QVERIFY(!f.w("btnAdd")->toolTip().isEmpty());
        QCOMPARE(f.app->language.applicationTitle(), f.text(lang::gui::kTitle));
        // With fitting on and the fixed size chosen, the list's reset picks hint 1a.
        f.app->project.Settings.FitImages = true;
        f.w<QComboBox>("cboEditImg1")->setCurrentIndex(2);
        ui::TranslateForm(*f.app, &w, "frmMain");
        QCOMPARE(f.w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f.text(lang::frmMain::kLblImgEditInfo1a));
        QCOMPARE(f.w<QComboBox>("cboEditImg1")->currentIndex(), 0);
        QVERIFY(f.services.messages.empty());
    }

    // Every caption of the main window fits its control at the layout's
    // geometry, in both languages, with the window's font.
    void textsFit_data() { mainWindow_data(); }
    void textsFit() {
        QFETCH(QString, language);
        UiFixture f(language.toStdString());
        QStringList clipped;
        for (QWidget* widget : f.window->findChildren<QWidget*>()) {
            QString text;
            int room = widget->width();
            const QFontMetrics metrics(widget->font());
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                if (label->wordWrap() || label->text().isEmpty()) continue;
                text = label->text();
            } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                text = box->text();
                room -= box->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                        box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
                text = radio->text();
                room -= radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                        radio->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                text = button->text();
                room -= 8;
            } else {
                continue;
            }
            if (text.isEmpty()) continue;
            const int needed = metrics.horizontalAdvance(text);
            if (needed > room || metrics.height() > widget->height())
                clipped << QString("%1 (%2 > %3)").arg(widget->objectName()).arg(needed).arg(room);
        }
        // Wrapped texts must fit their height.
        for (QLabel* label : f.window->findChildren<QLabel*>()) {
            if (!label->wordWrap() || label->text().isEmpty()) continue;
            const int needed = label->heightForWidth(label->width());
            if (needed > label->height())
                clipped << QString("%1 (height %2 > %3)")
                               .arg(label->objectName())
                               .arg(needed)
                               .arg(label->height());
        }
        if (!clipped.isEmpty()) QFAIL(qPrintable("clipped: " + clipped.join(", ")));
    }
};

LUMETRA_QT_TEST(TranslationTest);

}  // namespace lumetra::test

#include "TranslationTest.moc"
