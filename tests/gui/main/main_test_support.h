// A main window that runs without a user: questions are answered from a
// queue, messages and started programs are recorded, and the file dialogs
// return what the test chose.  Files live in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>

#include "DataEdit.h"
#include "Main.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace ramvex::testing {

inline void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  // The settings of a test never reach the user's own, nor those of a test
  // running beside it: each test process has a folder of its own.
  static QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  static int argc = 1;
  static char name[] = "gui_main_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

class MainFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    saved = QDir::currentPath();
    TDataEdit::SetDefaultNotifier([this](QWidget*, const QString& m) { fieldMessages << m; });
    form = std::make_unique<TMainForm>();
    form->Ask = [this](const QString& text, QMessageBox::StandardButtons) {
      questions << text;
      if (answers.empty()) return QMessageBox::Cancel;
      QMessageBox::StandardButton a = answers.front();
      answers.pop_front();
      return a;
    };
    form->Inform = [this](const QString& text) { messages << text; };
    form->Warn = [this](const QString& text) { messages << text; };
    form->ChooseOpenFile = [this](QString& path, int& filter) {
      path = openPath;
      filter = openFilter;
      return !openPath.isEmpty();
    };
    form->ChooseSaveFile = [this](const QString& proposal, const QString& title) {
      saveProposals << proposal;
      saveTitles << title;
      return savePath;
    };
    form->StartProcess = [this](const QString& program, const QString& file) {
      started << program + "|" + file;
      return startSucceeds;
    };
    form->OpenUrl = [this](const QUrl& url) {
      urls << url;
      return true;
    };
    form->OpenStartFile(QString());
  }

  void TearDown() override {
    form->ResultsAvailable = false;
    form.reset();
    TDataEdit::SetDefaultNotifier(nullptr);
    QDir::setCurrent(saved);
  }

  // A bundled example copied into the temporary folder.
  QString Example(const QString& name) {
    const QString target = folder.filePath(name);
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(QStringLiteral(RAMVEX_SOURCE_DIR "/examples/") + name, target));
    return target;
  }

  QString Path(const QString& name) const { return folder.filePath(name); }

  void Trigger(TCommand c) { form->Action(c)->trigger(); }

  QTemporaryDir folder;
  QString saved;
  std::unique_ptr<TMainForm> form;
  std::deque<QMessageBox::StandardButton> answers;
  QStringList questions, messages, fieldMessages, started, saveProposals, saveTitles;
  QList<QUrl> urls;
  QString openPath, savePath;
  int openFilter = 1;
  bool startSucceeds = true;
};

}  // namespace ramvex::testing
