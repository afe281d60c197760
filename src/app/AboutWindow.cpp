#include "app/AboutWindow.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "base/PlatformPaths.h"

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Folivox"));
  auto* icon = new QLabel(this);
  const QPixmap pm(PlatformPaths::current().resource(QStringLiteral("Images/folivox.png")));
  if (!pm.isNull()) icon->setPixmap(pm.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  icon->setAlignment(Qt::AlignTop);
  auto* text = new QLabel(aboutText(), this);
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  text->setOpenExternalLinks(true);
  text->setTextInteractionFlags(Qt::TextBrowserInteraction);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addWidget(text, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

QString AboutWindow::aboutText() {
  QString version = QCoreApplication::applicationVersion();
  if (version.isEmpty()) version = QStringLiteral(FOLIVOX_VERSION);
  return tr("<h2>Folivox</h2>"
            "<p>Version %1</p>"
            "<p>Turns PDF, text and RTF documents into page-flip e-books that play in any modern browser.</p>"
            "<p>Licensed under the GNU Affero General Public License, version 3 or later.</p>"
            "<p>Built with Qt, MuPDF, libjpeg-turbo, pugixml, libxml2 and zlib, each under its own licence. "
            "Templates, pictures and the page player are Folivox's own work.</p>")
      .arg(version.toHtmlEscaped());
}
