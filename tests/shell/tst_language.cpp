// Language files from the menu and at start-up: which caption, list and
// message each text reaches, what a refused file leaves alone, and the
// translations shipped with the tool.
#include "calibration/calibration_screen.h"
#include "link/link.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "pages/main_parameters_page.h"
#include "presentation/language_targets.h"
#include "shell/info_form.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"
#include "transfer/prog_start_form.h"
#include "ui/menu.h"
#include "ui/status_strip.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString shownText(QWidget *w) {
    for (const char *property : {"text", "title"}) {
        if (const QVariant v = w->property(property); v.isValid())
            return v.toString();
    }
    return w->windowTitle();
}

// A push button's caption shows whole inside its frame, two pixels clear
// of each edge (its size hint asks for more padding than that).
int neededWidth(QWidget *w) {
    if (auto *button = qobject_cast<QPushButton *>(w))
        return button->fontMetrics().horizontalAdvance(button->text()) + 4;
    return w->sizeHint().width();
}

QStringList entries(QComboBox *combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out.append(combo->itemText(i));
    return out;
}
} // namespace

class TestLanguage : public QObject, WindowFixture {
    Q_OBJECT

    void start() { session.start(dialogs, dir.path(), Variant::build()); }
    QString lng(const QString &name, const QByteArray &content) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(content);
        return f.fileName();
    }
    void loadFromMenu(const QString &path) {
        dialogs.fileAnswers = {path};
        QTest::mouseClick(window->menu().Info, Qt::LeftButton);
    }
    QString configLine() const {
        QFile f(dir.filePath(QStringLiteral("prconfig.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // What a target shows now; nothing when this build lacks its control.
    std::optional<QString> shown(const language::Target &t) const {
        if (t.kind == language::Kind::Message)
            return session.link->messages[t.index];
        QWidget *w = language::findTarget(window->app(), t);
        if (!w)
            return std::nullopt;
        return t.kind == language::Kind::ComboEntry
                   ? qobject_cast<QComboBox *>(w)->itemText(t.index)
                   : shownText(w);
    }
    QStringList menuCaptions() const {
        QStringList out;
        for (const char *name : {"Moniteur", "Parametres", "Calibration", "Charger", "Sauvegarder",
                                 "Connection", "Info", "quitter"})
            out.append(window->menu().button(QString::fromLatin1(name))->text());
        return out;
    }

  private Q_SLOTS:
    void init() {
        QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
        dialogs = FakeDialogs();
        start();
    }
    void cleanup() { session.reset(); }

    void menuTextsAndTheNextStart_data() {
        columns<QString, int>("folder", "savedPort"); // port 0: no configuration file yet
        row("first start", "", 0);
        row("Polish folder", "j\u0119zyki", 4);
    }
    // Texts 2..9 relabel the menu, 69..73 the status strip; the path is kept
    // beside the port and the next start loads the file without asking.
    void menuTextsAndTheNextStart() {
        auto [folder, savedPort] = fetch<QString, int>("folder", "savedPort");
        if (savedPort) {
            lng("prconfig.txt", "FichierConfig:]" + QByteArray::number(savedPort) + "]]]]]Fin\r\n");
            start();
        }
        QByteArray line = "FichierLangage:";
        for (int k = 1; k <= 73; ++k)
            line += "]" + QByteArray::number(k);
        line.replace("]69]", "]Fichier : ]").replace("]71]", "]Muet COM]");
        line.replace("]72]", "]Hors ligne]").replace("]73", "]Parle COM");
        QVERIFY(folder.isEmpty() || QDir(dir.path()).mkpath(folder));
        const QString path =
            lng(folder.isEmpty() ? "texts.lng" : folder + "/texts.lng", line + "\r\n");
        loadFromMenu(path);
        const QStringList numbers = {"2", "3", "4", "5", "6", "7", "8", "9"};
        QCOMPARE(menuCaptions(), numbers);
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("Hors ligne"));
        QCOMPARE(window->etat().BarreEtat2->text(), QStringLiteral("Fichier : "));
        QCOMPARE(dialogs.fileAsked.value(0).mid(0, 2),
                 (QStringList{" Load file ECM ", "File ECM(*.lng)|*.lng|All File (*.*)|*.*"}));
        savedPort = savedPort ? savedPort : 1;
        QCOMPARE(configLine(), QStringLiteral("FichierConfig:]%1]%2]]]]Fin\r\n")
                                   .arg(QString::number(savedPort), path));

        dialogs = FakeDialogs();
        start();
        QVERIFY(dialogs.fileAsked.isEmpty() && dialogs.shown.isEmpty());
        QCOMPARE(session.link->state.PortNumber, savedPort);
        QCOMPARE(menuCaptions(), numbers);
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("Muet COM"));
        window->screens().information->Command1_Click();
        port->feed(ackFrame());
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("Parle COM%1").arg(savedPort));
    }

    void refusedFileChangesNothing_data() {
        columns<QString, QString>("answer", "message");
        row("wrong header", lng("other.lng", "FichierConfig:]A]B]C\r\n"),
            " Noncorrect File error ");
        row("comma inside a text", lng("comma.lng", "FichierLangage:]]Moni,teur]A\r\n"),
            " Noncorrect File error \ntext 2, character 5: \",\" cannot stand in a text ");
        row("missing", dir.filePath("missing/none.lng"), " file non-existent ");
        row("cancelled", QString(), QString());
        row("no folder part", "bare.lng", QString());
    }
    void refusedFileChangesNothing() {
        const auto [answer, message] = fetch<QString, QString>("answer", "message");
        loadFromMenu(lng("good.lng", "FichierLangage:]]Moniteur]]]]]]]Sortir\r\n"));
        const QString config = configLine();
        loadFromMenu(answer);
        QCOMPARE(dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(window->menu().Moniteur->text(), QStringLiteral("Moniteur"));
        QCOMPARE(window->menu().quitter->text(), QStringLiteral("Sortir"));
        QCOMPARE(configLine(), config);
    }

    // A Windows-1252 file, shorter than the texts in use.
    void shortOldFileShowsAccentsAndEmptiesTheRest() {
        loadFromMenu(lng("old.lng", "FichierLangage:]]Moniteur]Param\xE8tres]R\xE9glage\r\n"));
        QCOMPARE(window->menu().Parametres->text(), QStringLiteral("Paramètres"));
        QCOMPARE(window->menu().quitter->text(), QString());
        QCOMPARE(entries(window->screens().mainParametersPage->ComboInjection), QStringList(3));
        QCOMPARE(session.link->messages[15], QString());
    }

    void choiceListsAreRefilledKeepingTheChoice() {
        MainParametersPage *page = window->screens().mainParametersPage;
        page->ComboInjection->setCurrentIndex(2);
        const auto image = session.link->image.bytes();
        loadFromMenu(lng("lists.lng", "FichierLangage:" + QByteArray(73, ']') +
                                          "]Seq]Full]Semi]Dir]Acc]Dec\r\n"));
        QCOMPARE(entries(page->ComboInjection), (QStringList{"Seq", "Full", "Semi"}));
        QCOMPARE(entries(page->ComboCommutation), (QStringList{"Dir", "Acc", "Dec"}));
        QCOMPARE(page->ComboInjection->currentIndex(), 2);
        QCOMPARE(page->findChild<QGroupBox *>(QStringLiteral("Frame7"))->title(),
                 QStringLiteral("Dec"));
        QVERIFY(session.link->image.bytes() == image && session.port->written.isEmpty());
    }

    // The English file repeats the built-in captions, apart from where one
    // text serves controls whose built-in wordings differ (it holds the
    // first one's) and the status strip, which takes the file's texts at once.
    void englishFileChangesNothing() {
        auto described = [this] {
            QStringList out;
            for (const language::Target &t : language::targets()) {
                const std::optional<QString> text = shown(t);
                if (text && t.kind != language::Kind::ComboEntry &&
                    t.kind != language::Kind::Message)
                    out.append(QString::fromLatin1(t.form) + '.' + t.control + ' ' +
                               text->simplified());
            }
            return out;
        };
        auto captions = [this, &described] {
            QStringList out = described();
            for (const language::Target &t : language::addedTargets()) {
                if (const std::optional<QString> text = shown(t))
                    out.append(QString::fromLatin1(t.form) + '.' + t.control + ' ' + *text);
            }
            return out;
        };
        const QStringList before = captions();
        loadFromMenu(QStringLiteral(GASECU_SOURCE_LANGUAGES "/english.lng"));
        QStringList changed;
        for (const QString &caption : captions()) {
            if (!before.contains(caption))
                changed.append(caption.section(' ', 0, 0));
        }
        QCOMPARE(changed,
                 (QStringList{"FnParametres2.SenosorLoad", "FnParametres2.SensorSave",
                              "FnCalibration.Label15", "FnParametres.Label6",
                              "FnCalibration.SwitchCommutateur", "FnParametres2.BoutonPC",
                              "Etat.BarreEtat2", "Etat.BarreEtat", "FnParametres.Frame7"}));
    }

    // The tool's own captions come after the texts older files end with: a
    // full file translates them, an older one leaves them English, also in
    // a window opened after the load.
    void addedCaptions_data() {
        columns<QString, QString, QString, QString>("file", "form", "control", "expected");
        const struct {
            const char *form, *control, *english, *french;
        } cases[] = {
            {"FnMoniteur", "LabelPressMemory", "Pressure memory (bar)",
             "Mémoire de pression (bar)"},
            {"FnMoniteur", "RazPrss", "Reset", "RAZ"},
            {"FnMoniteur", "BtRecord", "Record", "Enregistrer"},
            {"FnMAP", "BtApplyProposal", "Apply", "Appliquer"},
            {"FnMAP", "LabelAxeTemperature", "<< -- Depression", "<< -- Dépression"},
            {"FnAquiMap", "Check2", "Absolute test", "Test absolu"},
            {"FnCalibration", "LabelBand2", "BAND 2", "BANC 2"},
            {"FnChart", "", "Live chart", "Courbes en direct"},
            {"FnChart", "BtOpen", "Open log...", "Ouvrir un journal..."},
            {"FnChart", "Channel0", "Engine speed (rpm)", "Régime moteur (tr/min)"},
        };
        for (const auto &c : cases) {
            const QString at = QString::fromLatin1(c.form) + '.' + c.control;
            row(qPrintable("full: " + at), "full", c.form, c.control, QString::fromUtf8(c.french));
            row(qPrintable("older: " + at), "older", c.form, c.control,
                QString::fromUtf8(c.english));
        }
    }
    void addedCaptions() {
        const auto [file, form, control, expected] =
            fetch<QString, QString, QString, QString>("file", "form", "control", "expected");
        QFile french(QStringLiteral(GASECU_SOURCE_LANGUAGES "/francais.lng"));
        QVERIFY(french.open(QIODevice::ReadOnly));
        QList<QByteArray> texts = french.readAll().trimmed().split(']');
        QVERIFY(texts.size() > 146);
        // The German captions first: the load that follows replaces them.
        loadFromMenu(QStringLiteral(GASECU_SOURCE_LANGUAGES "/deutsch.lng"));
        if (file == "older")
            texts = texts.mid(0, 83)
                    << QByteArray(); // ends in "]" after text 82, as older files do
        loadFromMenu(lng(file + ".lng", texts.join(']') + "\r\n"));
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(window->menu().Moniteur->text(), QStringLiteral("Moniteur"));

        window->findChild<QPushButton *>(QStringLiteral("BtChart"))->click();
        const QByteArray formName = form.toLatin1(), controlName = control.toLatin1();
        const language::Target target{0, formName.constData(), controlName.constData(),
                                      control.isEmpty() ? language::Kind::FormCaption
                                                        : language::Kind::Caption};
        QCOMPARE(shown(target).value_or(QStringLiteral("(none)")), expected);
    }

    // The start form's caption in every shipped language shows whole, as the
    // tool shows it when the language comes from prconfig.txt.
    void startFormShowsItsCaptionWhole_data() {
        columns<QString>("language");
        for (const char *name :
             {"english", "francais", "italiano", "espanol", "deutsch", "polski", "turkce"})
            row(name, QString::fromLatin1(name));
    }
    void startFormShowsItsCaptionWhole() {
        const auto [name] = fetch<QString>("language");
        lng("prconfig.txt",
            "FichierConfig:]1]" GASECU_SOURCE_LANGUAGES "/" + name.toUtf8() + ".lng]]]]Fin\r\n");
        start();
        ProgStartForm *form = window->screens().startForm;
        form->showForm();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
        QVERIFY(!form->Label1->text().trimmed().isEmpty());
        QVERIFY2(form->Label1->sizeHint().width() <= form->Label1->width(),
                 qPrintable(QStringLiteral("%1 > %2")
                                .arg(form->Label1->sizeHint().width())
                                .arg(form->Label1->width())));
        QVERIFY(form->BoutonPC->sizeHint().width() <= form->BoutonPC->width());
    }

    // Every shipped language's own captions show whole where the screens
    // put them, the acquisition window in the room the map screen leaves.
    void addedCaptionsShowWhole_data() {
        columns<QString>("language");
        for (const char *name :
             {"english", "francais", "italiano", "espanol", "deutsch", "polski", "turkce"})
            row(name, QString::fromLatin1(name));
    }
    void addedCaptionsShowWhole() {
        const auto [name] = fetch<QString>("language");
        loadFromMenu(QStringLiteral(GASECU_SOURCE_LANGUAGES "/") + name + ".lng");
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStringList clipped;
        for (Form *screen : {static_cast<Form *>(window->screens().monitorScreen),
                             static_cast<Form *>(window->screens().calibrationScreen),
                             static_cast<Form *>(window->screens().mapScreen)}) {
            screen->showForm();
            if (screen == window->screens().mapScreen)
                window->screens().mapScreen->StarMapAqui_Click();
            QCoreApplication::processEvents();
            for (const language::Target &t : language::addedTargets()) {
                QWidget *w = language::findTarget(window->app(), t);
                if (w && w->isVisible() && neededWidth(w) > w->width())
                    clipped.append(QStringLiteral("%1 %2 (%3 > %4)")
                                       .arg(QString::fromLatin1(t.control), shownText(w))
                                       .arg(neededWidth(w))
                                       .arg(w->width()));
            }
            screen->hideForm();
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    }

    // The strip keeps saying what the link does, in the new language: the
    // file's "not connected" text is for a closed port only.
    void statusFollowsTheLink_data() {
        columns<QString, QString>("link", "status");
        row("polled, answering", "answering", " Dialogue sur COM1");
        row("polled, silent", "silent", "Pas de dialogue sur COM1");
        row("port closed", "closed", " Non connecté ");
    }
    void statusFollowsTheLink() {
        const auto [state, status] = fetch<QString, QString>("link", "status");
        QLabel *strip = window->findChild<QLabel *>(QStringLiteral("BarreEtat"));
        if (state != QLatin1String("closed")) {
            QVERIFY(link->OpenPort());
            link->poll.start();
            port->feed(dataFrame(0x000, {0, 0, 0}));
            QCOMPARE(strip->text(), QStringLiteral(" Dialogue on COM1"));
        }
        if (state == QLatin1String("silent"))
            window->screens().monitorScreen->pollResent(0);
        loadFromMenu(QStringLiteral(GASECU_SOURCE_LANGUAGES "/francais.lng"));
        QCOMPARE(strip->text(), status);
        if (state != QLatin1String("answering"))
            return;
        port->feed(dataFrame(0x000, {0, 0, 0}));
        QCOMPARE(strip->text(), status);
    }

    void everyTargetOfThisBuildIsFound() {
        QStringList missing = language::unresolvedTargets(window->app());
        // Captions the monitor's layout merges.
        missing.removeIf([](const QString &name) {
            return name == "FnMoniteur.Label13" || name == "FnMoniteur.Label30" ||
                   name == "FnMoniteur.Label31";
        });
        QCOMPARE(missing, QStringList());
        for (const language::Target &t : language::addedTargets())
            QVERIFY2(language::findTarget(window->app(), t), t.control);
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
