#include "templates/gui/FlashTmplCells.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "templates/MyColorOper.h"

FlashTmplColorCell::FlashTmplColorCell(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  m_swatch = new QToolButton(this);
  m_swatch->setAutoRaise(true);
  m_swatch->setIconSize(QSize(15, 15));
  m_swatch->setToolTip(tr("Choose a colour"));
  m_swatch->setFocusPolicy(Qt::NoFocus);
  m_edit = new QLineEdit(this);
  m_edit->setFrame(false);
  layout->addWidget(m_swatch);
  layout->addWidget(m_edit, 1);
  setFocusProxy(m_edit);
  setAutoFillBackground(true);
  connect(m_swatch, &QToolButton::clicked, this, &FlashTmplColorCell::infoButtonClicked);
  connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& t) {
    m_color = MyColorOper::colorFromHexRGB(t);
    updateSwatch();
  });
}

void FlashTmplColorCell::setColor2(const QColor& color) {
  m_color = color;
  m_edit->setText(MyColorOper::displayText(MyColorOper::colorToHexRGB(color).value_or(QString())));
  updateSwatch();
}

QString FlashTmplColorCell::text() const { return m_edit->text(); }

void FlashTmplColorCell::setText(const QString& text) {
  m_edit->setText(text);
  m_color = MyColorOper::colorFromHexRGB(text);
  updateSwatch();
}

void FlashTmplColorCell::updateSwatch() {
  QPixmap pm(15, 15);
  pm.fill(Qt::gray);
  QPainter p(&pm);
  p.fillRect(QRect(1, 1, 13, 13), m_color);
  p.end();
  m_swatch->setIcon(QIcon(pm));
}

FlashTmplFileCell::FlashTmplFileCell(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  m_edit = new QLineEdit(this);
  m_edit->setFrame(false);
  m_browse = new QToolButton(this);
  m_browse->setText(QStringLiteral("…"));
  m_browse->setToolTip(tr("Choose a file"));
  m_browse->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(m_edit, 1);
  layout->addWidget(m_browse);
  setFocusProxy(m_edit);
  setAutoFillBackground(true);
  connect(m_browse, &QToolButton::clicked, this, &FlashTmplFileCell::infoButtonClicked);
}

QString FlashTmplFileCell::title() const { return m_edit->text(); }

void FlashTmplFileCell::setFileName2(const QString& path) { m_edit->setText(path); }
