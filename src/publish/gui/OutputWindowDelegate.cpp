#include "publish/gui/OutputWindowDelegate.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/AppSettings.h"
#include "base/DesktopOpener.h"
#include "base/LastFolders.h"
#include "base/Log.h"
#include "publish/BookTransaction.h"
#include "session/BookBuilder.h"
#include "templates/FlashTemplate.h"

OutputWindowDelegate::OutputWindowDelegate(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Publish the book"));
  setWindowModality(Qt::WindowModal);

  m_txtOutputFolder = new QLineEdit(this);
  auto* browse = new QPushButton(tr("C&hoose..."), this);
  auto* openFolder = new QPushButton(tr("Op&en"), this);
  openFolder->setToolTip(tr("Show the folder in the file manager"));
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(m_txtOutputFolder, 1);
  folderRow->addWidget(browse);
  folderRow->addWidget(openFolder);
  m_txtOutputName = new QLineEdit(this);
  m_txtOutputName->setPlaceholderText(QStringLiteral("index"));
  m_txtTitle = new QLineEdit(this);

  m_mOutputType = new QButtonGroup(this);
  auto* web = new QRadioButton(tr("&Web folder (plays in any browser)"), this);
  auto* app = new QRadioButton(tr("&Application bundle"), this);
  auto* epub = new QRadioButton(tr("EP&UB e-book (for e-book readers and stores)"), this);
  m_mOutputType->addButton(web, 0);
  m_mOutputType->addButton(app, 1);
  m_mOutputType->addButton(epub, PublishOptions::kEpubOutput);
  auto* typeColumn = new QVBoxLayout;
  typeColumn->addWidget(web);
  typeColumn->addWidget(app);
  typeColumn->addWidget(epub);
  // The name is the EPUB file's, without ".epub".
  connect(epub, &QRadioButton::toggled, this, [this](bool on) {
    m_txtOutputName->setPlaceholderText(on ? QStringLiteral("book") : QStringLiteral("index"));
  });

  auto* form = new QFormLayout;
  auto* folderLabel = new QLabel(tr("&Output folder:"), this);
  folderLabel->setBuddy(m_txtOutputFolder);
  form->addRow(folderLabel, folderRow);
  form->addRow(tr("Page &name:"), m_txtOutputName);
  form->addRow(tr("&Title:"), m_txtTitle);
  form->addRow(tr("Publish as:"), typeColumn);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* publish = buttons->addButton(tr("&Publish"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  publish->setDefault(true);
  m_btnPublish = publish;
  m_controls = {m_txtOutputFolder, browse, openFolder, m_txtOutputName, m_txtTitle, web, app, publish};

  m_lblInfo = new QLabel(this);
  m_lblInfo->setWordWrap(true);
  m_lblInfo->hide();
  m_prgBar = new QProgressBar(this);
  m_prgBar->setFormat(QStringLiteral("%v/%m"));
  m_prgBar->hide();
  m_builder = new BookBuilder(this);
  connect(m_builder, &BookBuilder::progress, this, [this](quint64, qsizetype done, qsizetype total) {
    m_prgBar->setRange(0, static_cast<int>(total));
    m_prgBar->setValue(static_cast<int>(done));
    m_lblInfo->setText(tr("Writing page %L1 of %L2...").arg(done).arg(total));
  });
  connect(m_builder, &BookBuilder::finished, this,
          [this](quint64, const PublishResult& result) { publishFinished(result); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_lblInfo);
  layout->addWidget(m_prgBar);
  layout->addWidget(buttons);
  resize(560, sizeHint().height());

  connect(browse, &QPushButton::clicked, this, &OutputWindowDelegate::onSelectFolder);
  connect(openFolder, &QPushButton::clicked, this, &OutputWindowDelegate::onOpenFolder);
  connect(publish, &QPushButton::clicked, this, &OutputWindowDelegate::onPublish);
  connect(cancel, &QPushButton::clicked, this, &OutputWindowDelegate::onCancel);
  // The book belongs to the main window; hold it only while the sheet is up.
  connect(this, &QDialog::finished, this, &OutputWindowDelegate::releaseBook);

  // Filled once from the remembered choices; later openings show what the user left.
  const PublishOptions o = PublishOptions::fromSettings(AppSettings::shareInstance());
  m_txtOutputFolder->setText(o.folder);
  m_txtOutputName->setText(o.name);
  m_txtTitle->setText(o.title);
  setOutputType(o.outputType);
}

void OutputWindowDelegate::setOutputType(qint32 type) {
  QAbstractButton* button = m_mOutputType->button(type);
  (button != nullptr ? button : m_mOutputType->button(0))->setChecked(true);
}

PublishOptions OutputWindowDelegate::options() const {
  PublishOptions o;
  o.folder = m_txtOutputFolder->text();
  o.name = m_txtOutputName->text();
  o.title = m_txtTitle->text();
  o.outputType = m_mOutputType->checkedId() < 0 ? 0 : m_mOutputType->checkedId();
  o.document = m_documentPath;
  return o;
}

void OutputWindowDelegate::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Not where the last publish left the focus (on Cancel, the one button it
  // left enabled).
  if (!isPublishing()) m_txtOutputFolder->setFocus(Qt::OtherFocusReason);
  finishInterruptedPublish();
}

void OutputWindowDelegate::onSelectFolder() {
  auto* panel = new QFileDialog(this, tr("Choose folder"),
                                LastFolders::startFolderFor(LastFolders::Publish, m_txtOutputFolder->text()));
  panel->setAttribute(Qt::WA_DeleteOnClose);
  panel->setFileMode(QFileDialog::Directory);
  panel->setOption(QFileDialog::ShowDirsOnly);
  panel->setLabelText(QFileDialog::Accept, tr("Choose folder"));
  panel->setWindowModality(Qt::WindowModal);
  connect(panel, &QFileDialog::fileSelected, this, [this](const QString& path) {
    qCDebug(lcPublish).noquote() << "die end," + path;
    LastFolders::remember(LastFolders::Publish, path);
    m_txtOutputFolder->setText(path);  // a cancelled panel keeps the folder
    finishInterruptedPublish();
  });
  panel->open();
}

void OutputWindowDelegate::onOpenFolder() { openPath(m_txtOutputFolder->text()); }

void OutputWindowDelegate::openPath(const QString& path) {
  if (m_openUrl) return m_openUrl(QUrl::fromLocalFile(path));
  // The sheet may be gone when the answer comes: tell it over the main window.
  QWidget* over = parentWidget() != nullptr ? parentWidget() : this;
  connect(DesktopOpener::open(path, this), &DesktopOpener::failed, over, [over, path](const QString& reason) {
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Open"), tr("%1 could not be opened: %2.").arg(path, reason),
                                QMessageBox::Ok, over);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("openFailed"));
    box->open();
  });
}

void OutputWindowDelegate::onCancel() {
  if (isPublishing()) {
    m_builder->cancel();  // the sheet stays; publishFinished() says it was cancelled
    return;
  }
  done(0);
}

void OutputWindowDelegate::reject() { onCancel(); }

bool OutputWindowDelegate::isPublishing() const { return m_builder->isBuilding(); }

void OutputWindowDelegate::setPublishing(bool on) {
  for (QWidget* w : m_controls) w->setEnabled(!on);
  m_prgBar->setVisible(on);
  m_lblInfo->setVisible(on);
  if (on) {
    m_prgBar->setRange(0, 0);  // busy until the first page is written
    m_lblInfo->setText(tr("Publishing..."));
  }
}

OutputWindowDelegate::AlertAnswer OutputWindowDelegate::defaultAlert(const PublishResult& result, QWidget* parent) {
  QMessageBox box(parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setText(result.alertMessage());
  box.setInformativeText(result.alertDetail());
  if (result.succeeded()) {
    box.setIcon(QMessageBox::Information);
    QPushButton* open = box.addButton(tr("&Open it"), QMessageBox::AcceptRole);
    QPushButton* show = box.addButton(tr("&Show in Folder"), QMessageBox::ActionRole);
    box.addButton(tr("&No"), QMessageBox::RejectRole);
    box.setDefaultButton(open);
    box.exec();
    if (box.clickedButton() == open) return AlertAnswer::Open;
    return box.clickedButton() == show ? AlertAnswer::ShowFolder : AlertAnswer::Close;
  }
  box.setIcon(QMessageBox::Warning);
  box.addButton(QMessageBox::Ok);
  box.exec();
  return AlertAnswer::Close;
}

bool OutputWindowDelegate::defaultReplaceQuestion(const PublishResult& result, QWidget* parent) {
  QMessageBox box(parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setIcon(QMessageBox::Question);
  box.setText(result.alertMessage());
  QPushButton* yes = nullptr;
  if (result.sharedFolder) {
    box.setInformativeText(tr("%1\n\nPublish there all the same?").arg(result.error));
    yes = box.addButton(tr("Publish There"), QMessageBox::DestructiveRole);
  } else {
    box.setInformativeText(tr("%1\n\nReplace them with the book?").arg(result.foreignEntries.join(QLatin1Char('\n'))));
    yes = box.addButton(tr("Replace"), QMessageBox::DestructiveRole);
  }
  box.setDefaultButton(box.addButton(QMessageBox::Cancel));
  box.exec();
  return box.clickedButton() == yes;
}

void OutputWindowDelegate::onPublish() {
  // Each press asks anew: what the user agreed to was for the last folder.
  m_replaceForeignFiles = false;
  m_allowSharedFolder = false;
  startPublish();
}

void OutputWindowDelegate::finishInterruptedPublish() const {
  // A publish killed between its swaps left the folder half swapped: finish
  // it now, so that the folder the sheet names holds one whole book.
  if (!m_txtOutputFolder->text().trimmed().isEmpty()) BookTransaction::finishInterrupted(m_txtOutputFolder->text());
}

void OutputWindowDelegate::startPublish() {
  if (isPublishing()) return;
  PublishOptions o = options();
  o.store(AppSettings::shareInstance());
  o.replaceForeignFiles = m_replaceForeignFiles;
  o.allowSharedFolder = m_allowSharedFolder;
  // The worker gets its own copy of the template; pages, links and bookmarks
  // are not changed once imported.
  const BookContent book{iFlashTmpl ? iFlashTmpl->clone() : nullptr, iFlashPageSource, iFlashPagesAnnotations,
                         iFlashOutline};
  setPublishing(true);
  m_builder->request(
      [o, book](const FlashBookOutput::Progress& progress) { return BookSession::publishBook(o, book, progress); });
}

void OutputWindowDelegate::publishFinished(const PublishResult& result) {
  setPublishing(false);
  m_lastResult = result;
  Q_EMIT publishEnded(result);
  if (result.needsConfirmation()) {
    // Nothing was written. A yes publishes there all the same (a folder
    // others may change) or over those files; without it the sheet stays,
    // for another folder or name.
    if (m_askReplace ? m_askReplace(result, this) : defaultReplaceQuestion(result, this)) {
      (result.sharedFolder ? m_allowSharedFolder : m_replaceForeignFiles) = true;
      startPublish();
    }
    return;
  }
  if (result.cancelled && result.error.isEmpty()) {
    m_lblInfo->setText(result.alertMessage() + QLatin1Char(' ') + result.alertDetail());
    m_lblInfo->show();
    return;
  }
  const AlertAnswer answer = m_alert ? m_alert(m_lastResult, this) : defaultAlert(m_lastResult, this);
  if (m_lastResult.succeeded() && answer != AlertAnswer::Close)
    openPath(answer == AlertAnswer::Open ? m_lastResult.outputFileName : m_lastResult.outputFolder());
  done(1);
}

void OutputWindowDelegate::releaseBook() {
  iFlashPageSource.reset();
  iFlashTmpl.reset();
  iFlashOutline.reset();
  iFlashPagesAnnotations.reset();
}
