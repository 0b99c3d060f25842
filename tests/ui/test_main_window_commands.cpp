// The main window's scenario commands, its dialog and window commands, and
// the error report every command's failure ends in.
#include <gtest/gtest.h>

#include <stdexcept>

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include "error_report.h"
#include "scenario_error.h"
#include "program_fixture.h"
#include "startup.h"
#include "test_dialogs_support.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wendoUnit5.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "world_fixture.h"

using dialog_tests::MessageCapture;
using dialog_tests::ModalAnswers;
using wymianadanych::World;

namespace {

class MainWindowCommands : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenProgram();
    ASSERT_TRUE(dir.isValid());
  }

  // Every file dialog shown is answered with `answer` and remembered.
  void AnswerDialogs(const QString& answer) {
    form->ChooseFile = [this, answer](QFileDialog& dialog) {
      shown.push_back(&dialog);
      return answer;
    };
  }

  static void PrepareScenario() {
    World.SimStepMs = 77;
    World.SharkMax = -5;
    wendo_test::AddObserver(World, 250, 400, 120);
    wymianadanych::TLodz& boat = wendo_test::AddBoat(World, 100, 200, 300, 400, 25, 150);
    boat.X = 1;  // away from its home, heading home: neither is saved
    boat.Y = 2;
    boat.Outbound = false;
  }

  MessageCapture capture;
  QTemporaryDir dir;
  std::vector<QFileDialog*> shown;
};

QStringList Captions(const QMenu* menu) {
  QStringList texts;
  for (const QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

}  // namespace

TEST_F(MainWindowCommands, MenuCaptionsAndStartState) {
  EXPECT_EQ(Captions(form->Plik1), (QStringList{"Nowy", "Wczytaj", "Zapisz", "-", "Koniec"}));
  EXPECT_EQ(Captions(form->Dane1), (QStringList{"Obiekty", "Symulacja"}));
  EXPECT_EQ(Captions(form->Symulacja2), (QStringList{QStringLiteral("Wznów"), "Wstrzymaj", QStringLiteral("Zakończ")}));
  EXPECT_EQ(Captions(form->Okna1), (QStringList{"Mapa", "Mini Mapa", "Komunikaty", "Statystyka", "Wykres"}));
  EXPECT_EQ(form->Plik1->title(), QStringLiteral("Plik"));
  EXPECT_EQ(form->Dane1->title(), QStringLiteral("Dane"));
  EXPECT_EQ(form->Symulacja2->title(), QStringLiteral("Symulacja"));
  EXPECT_EQ(form->Okna1->title(), QStringLiteral("Okna"));
  EXPECT_FALSE(form->Wstrzymaj1->isEnabled());
  EXPECT_FALSE(form->Zakoncz1->isEnabled());
  EXPECT_FALSE(form->Komunikaty1->isEnabled());
  EXPECT_FALSE(form->Statystyka1->isEnabled());
  EXPECT_FALSE(form->Wykres1->isEnabled());
  EXPECT_TRUE(form->Nowy1->isEnabled());
  EXPECT_TRUE(form->Obiekty1->isEnabled());
}

TEST_F(MainWindowCommands, SaveNewLoadAndCancel) {
  const QString path = dir.filePath(QStringLiteral("beach.wnd"));
  PrepareScenario();

  AnswerDialogs(path);
  form->Zapisz1->trigger();
  ASSERT_EQ(shown.size(), 1u);
  QFileDialog* save = shown[0];
  EXPECT_EQ(save, form->SaveDialog1);
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save->nameFilters(), (QStringList{"Pliki Wendy (*.wnd)", "Wszystkie Pliki (*)"}));
  EXPECT_EQ(save->selectedNameFilter(), QStringLiteral("Pliki Wendy (*.wnd)"));
  EXPECT_EQ(save->defaultSuffix(), QStringLiteral("wnd"));
  EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
  ASSERT_TRUE(QFileInfo::exists(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray saved = file.readAll();
  EXPECT_TRUE(saved.startsWith("77\r\n1000\r\n")) << saved.constData();
  EXPECT_TRUE(saved.endsWith("1\r\n250 400 120\r\n1\r\n100 200 300 400 25 150\r\n")) << saved.constData();

  form->Nowy1->trigger();
  EXPECT_TRUE(World.Observers.empty());
  EXPECT_TRUE(World.Boats.empty());
  EXPECT_EQ(World.SimStepMs.load(), 100);
  EXPECT_EQ(World.SharkMax, 5);

  form->Wczytaj1->trigger();
  ASSERT_EQ(shown.size(), 2u);
  QFileDialog* open = shown[1];
  EXPECT_EQ(open, form->OpenDialog1);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(open->nameFilters(), save->nameFilters());
  EXPECT_EQ(open->selectedNameFilter(), QStringLiteral("Pliki Wendy (*.wnd)"));
  EXPECT_EQ(open->defaultSuffix(), QStringLiteral("wnd"));
  EXPECT_EQ(World.SimStepMs.load(), 77);
  EXPECT_EQ(World.SharkMax, -5);
  ASSERT_EQ(World.Observers.size(), 1u);
  EXPECT_EQ(World.Observers[0].X, 250);
  EXPECT_EQ(World.Observers[0].Range, 120);
  ASSERT_EQ(World.Boats.size(), 1u);
  EXPECT_EQ(World.Boats[0].X, 100);
  EXPECT_EQ(World.Boats[0].Y, 200);
  EXPECT_EQ(World.Boats[0].PatrolY, 400);
  EXPECT_EQ(World.Boats[0].Speed, 25);
  EXPECT_EQ(World.Boats[0].Range, 150);
  EXPECT_TRUE(World.Boats[0].Outbound);

  // Cancelled dialogs change nothing, on disk or in the world.
  AnswerDialogs(QString());
  wendo_test::AddObserver(World, 10, 20, 30);
  form->Zapisz1Click();
  form->Wczytaj1Click();
  EXPECT_EQ(shown.size(), 4u);
  EXPECT_EQ(World.Observers.size(), 2u);
  EXPECT_EQ(World.Boats.size(), 1u);
  ASSERT_TRUE(file.seek(0));
  EXPECT_EQ(file.readAll(), saved);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"beach.wnd"});
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(MainWindowCommands, FailuresEndInTheErrorReport) {
  AnswerDialogs(dir.filePath(QStringLiteral("missing.wnd")));
  form->Wczytaj1Click();
  EXPECT_EQ(capture.errors, std::vector<QString>{QStringLiteral("File not found.")});

  // A folder of the path that does not exist.
  capture.errors.clear();
  AnswerDialogs(dir.filePath(QStringLiteral("no/such/folder/x.wnd")));
  form->Zapisz1Click();
  ASSERT_EQ(capture.errors.size(), 1u);
  EXPECT_EQ(capture.errors[0], QStringLiteral("Invalid filename."));

  // A file that is not a scenario.
  capture.errors.clear();
  const QString bad = dir.filePath(QStringLiteral("bad.wnd"));
  QFile file(bad);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("100\r\nabc\r\n");
  file.close();
  AnswerDialogs(bad);
  form->Wczytaj1Click();
  EXPECT_EQ(capture.errors, std::vector<QString>{QStringLiteral("Invalid numeric input.")});
  EXPECT_TRUE(capture.messages.empty());
}

TEST_F(MainWindowCommands, ErrorReportTextAndGuard) {
  EXPECT_EQ(ErrorReportText(QStringLiteral("File not found")), QStringLiteral("File not found."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Done.")), QStringLiteral("Done."));
  // Codes up to that of the full stop get nothing: ')' 41, '-' 45, ' ' 32.
  EXPECT_EQ(ErrorReportText(QStringLiteral("a (b)")), QStringLiteral("a (b)"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a-")), QStringLiteral("a-"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a ")), QStringLiteral("a "));
  // Just above: '/' 47 and digits.
  EXPECT_EQ(ErrorReportText(QStringLiteral("a/")), QStringLiteral("a/."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("I/O error 5")), QStringLiteral("I/O error 5."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("zjadł")), QStringLiteral("zjadł."));
  EXPECT_EQ(ErrorReportText(QString()), QString());
  EXPECT_EQ(MessageCaption(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  EXPECT_FALSE(MessageCaption().contains(u'.'));

  // Nothing escapes the guard, and every kind of failure is reported once.
  Guarded([] { throw wymianadanych::TScenarioError("Range check error"); });
  Guarded([] { throw std::runtime_error("'1x' is not a valid integer value"); });
  Guarded([] { throw 42; });
  bool ran = false;
  Guarded([&ran] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_EQ(capture.errors, (std::vector<QString>{"Range check error.", "'1x' is not a valid integer value.",
                                                  "Unknown error."}));
}

TEST_F(MainWindowCommands, ObjectsHidesBothMapWindowsEvenWhenCancelled) {
  Form2->show();
  Form3->show();
  ModalAnswers answers(Form5);  // rejects the dialog as soon as it is up
  form->Obiekty1->trigger();
  EXPECT_EQ(answers.Answered(), 1);
  EXPECT_FALSE(Form2->isVisible());
  EXPECT_FALSE(Form3->isVisible());
  EXPECT_FALSE(Form5->isVisible());
}

TEST_F(MainWindowCommands, WindowCommandsShowAndRedrawAtOnce) {
  Form2->Image1->SetFrame(QImage());
  Form3->Image1->SetFrame(QImage());
  form->Mapa1->trigger();
  EXPECT_TRUE(Form2->isVisible());
  EXPECT_EQ(Form2->Image1->Frame().size(), QSize(600, 400));
  form->MiniMapa1->trigger();
  EXPECT_TRUE(Form3->isVisible());
  EXPECT_EQ(Form3->Image1->Frame().size(), QSize(160, 240));
  form->Komunikaty1Click();
  EXPECT_TRUE(Form7->isVisible());
  form->Statystyka1Click();
  EXPECT_TRUE(Form6->isVisible());
}

TEST_F(MainWindowCommands, RealSaveDialogAppendsTheDefaultExtension) {
  ModalAnswers answers(form->SaveDialog1);
  answers.Add([this] {
    form->SaveDialog1->setDirectory(dir.path());
    // Typed without an extension.
    auto* name = form->SaveDialog1->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("plaza"));
    // What the dialog's own "Save" button does.
    QMetaObject::invokeMethod(form->SaveDialog1, "accept");
  });
  form->Zapisz1Click();
  EXPECT_EQ(answers.Answered(), 1);
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("plaza.wnd"))));
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(MainWindowCommands, EachFileDialogNextProposesTheFileItChose) {
  // Typed without an extension, the name is written and read with it, and
  // the dialog offers that existing file the next time.
  for (QFileDialog* dialog : {form->SaveDialog1, form->OpenDialog1}) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    QString proposed;
    QStringList selected;
    ModalAnswers answers(dialog);
    answers.Add([&] {
      dialog->setDirectory(dir.path());
      name->setText(QStringLiteral("scen1"));
      QMetaObject::invokeMethod(dialog, "accept");
    });
    answers.Add([&] {
      proposed = name->text();
      selected = dialog->selectedFiles();
      dialog->reject();
    });
    const bool saving = dialog == form->SaveDialog1;
    for (int i = 0; i < 2; ++i) saving ? form->Zapisz1Click() : form->Wczytaj1Click();
    EXPECT_EQ(answers.Answered(), 2);
    EXPECT_EQ(proposed, QStringLiteral("scen1.wnd"));
    EXPECT_EQ(selected, QStringList{dir.filePath(QStringLiteral("scen1.wnd"))});
  }
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("scen1.wnd"))));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("scen1"))));
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(MainWindowCommands, TheToolkitsOwnDialogTextsArePolishWhenInstalled) {
  const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFileInfo::exists(translations + QStringLiteral("/qtbase_pl.qm")))
    GTEST_SKIP() << "Qt's Polish translation (qt6-translations-l10n) is not installed";
  QTranslator translator;
  ASSERT_TRUE(InstallToolkitTranslation(translator));
  struct Uninstall {
    QTranslator& t;
    ~Uninstall() { QCoreApplication::removeTranslator(&t); }
  } uninstall{translator};

  // Texts are taken when a dialog is built; the windows built after the
  // translation are Polish, as in the program.
  windows.reset();
  OpenProgram();
  QFileDialog* save = form->SaveDialog1;
  auto* buttons = save->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("&Zachowaj"));
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
  auto* openButtons = form->OpenDialog1->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(openButtons, nullptr);
  EXPECT_EQ(openButtons->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Otwórz"));

  // Saving over an existing file asks first; "Nie" keeps the file.
  const QString existing = dir.filePath(QStringLiteral("stary.wnd"));
  {
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("stara treść");
  }
  QString question;
  QStringList answers;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    watch.stop();
    question = box->text();
    for (QAbstractButton* b : box->buttons()) answers << b->text();
    box->button(QMessageBox::No)->click();
  });
  ModalAnswers dialogs(save);
  dialogs.Add([&] {
    save->setDirectory(dir.path());
    save->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("stary"));
    watch.start();
    QMetaObject::invokeMethod(save, "accept");
  });
  form->Zapisz1Click();  // the dialog stays after "Nie" and is then closed
  EXPECT_EQ(question, QStringLiteral("stary.wnd już istnieje.\nCzy chcesz go zastąpić?"));
  answers.sort();
  EXPECT_EQ(answers, (QStringList{QStringLiteral("&Nie"), QStringLiteral("&Tak")}));
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("stara treść"));
}
