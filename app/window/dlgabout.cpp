#include "app/window/dlgabout.h"

#include "app/window/pictures.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pv {

int ProgramVersionMajor() { return PLAVIK_VERSION_MAJOR; }
int ProgramVersionMinor() { return PLAVIK_VERSION_MINOR; }
int ProgramVersionRevision() { return PLAVIK_VERSION_PATCH; }

QString AboutLegalNotice() {
  const QString blankLine = QStringLiteral("\r\n\r\n");
  QString text = LoadResString(20007);
  for (int n = 20000; n <= 20006; ++n) text += blankLine + LoadResString(n);
  return text;
}

QString AboutFileNameLine(const QString& programFile) {
  return LoadResString(20008) + QFileInfo(programFile).completeBaseName().toUpper() + QStringLiteral(".EXE");
}

QString AboutReleaseLine(int major, int minor, int revision) {
  return LoadResString(20009) + StrLong(major) + QStringLiteral(".") + StrLong(minor) + QStringLiteral(".") +
         StrLong(revision);
}

dlgAbout::dlgAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgAbout"));
  setWindowTitle(LoadResString(1000));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  m_image = new QLabel(this);
  m_image->setObjectName(QStringLiteral("Image1"));
  m_image->setPixmap(ResPicture(PicAbout));
  m_image->setFixedSize(ResPictureSize(PicAbout));

  m_text = new QPlainTextEdit(this);
  m_text->setObjectName(QStringLiteral("Text1"));
  m_text->setReadOnly(true);
  // The notice's CR LF pairs: a line break each (the pair is kept in the
  // text the notice is made of).
  m_text->setPlainText(AboutLegalNotice().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  m_text->setFocusPolicy(Qt::ClickFocus);

  for (int i = 0; i < 3; ++i) {
    m_labels[i] = new QLabel(this);
    m_labels[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    m_labels[i]->setTextFormat(Qt::PlainText);
  }
  m_labels[0]->setText(AboutFileNameLine(QCoreApplication::applicationFilePath()));
  m_labels[1]->setText(AboutReleaseLine(ProgramVersionMajor(), ProgramVersionMinor(), ProgramVersionRevision()));
  m_labels[2]->setText(LoadResString(20011));

  m_close = new QPushButton(LoadResString(11000), this);
  m_close->setObjectName(QStringLiteral("Command1"));
  m_close->setDefault(true);
  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

  auto* right = new QVBoxLayout;
  right->addWidget(m_text, 1);
  for (QLabel* l : m_labels) right->addWidget(l);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_close);
  right->addLayout(buttons);
  auto* top = new QHBoxLayout(this);
  top->setContentsMargins(0, 0, 10, 10);
  top->addWidget(m_image, 0, Qt::AlignTop);
  top->addLayout(right, 1);
  right->setContentsMargins(0, 10, 0, 0);

  setFixedSize(520, WindowHeight);
  // Centred on the screen.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move(s.x() + s.width() / 2 - width() / 2, s.y() + s.height() / 2 - height() / 2);
  }
}

void dlgAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_close->setFocus();
}

}  // namespace pv
