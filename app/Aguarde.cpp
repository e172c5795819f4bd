#include "app/Aguarde.h"

#include "platform/report/ReportProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

TFAguarde *FAguarde = nullptr;

TFAguarde::TFAguarde(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FAguarde"));
    setWindowTitle(QStringLiteral("Procesando..."));
    Label1 = new QLabel(QStringLiteral("Aguarde un Instante..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    L1 = new QLabel(this);
    L1->setObjectName(QStringLiteral("L1"));
    L1->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(Label1);
    layout->addWidget(L1);
    setFixedSize(320, 110);
    FAguarde = this;
    // Reports lay out and print thousands of pages: the operator sees how far they got, in this
    // window, shown for the report when nothing else showed it (a print from the preview).
    vx::report::setProgressHook([this](const QString &text) {
        if (text.isEmpty()) {
            if (m_shownForReport)
                closeNow();
            m_shownForReport = false;
            return;
        }
        if (!isVisible()) {
            m_shownForReport = true;
            showNow();
        }
        setProgress(text);
    });
}

TFAguarde::~TFAguarde()
{
    if (FAguarde == this) {
        FAguarde = nullptr;
        vx::report::setProgressHook({});
    }
}

void TFAguarde::showNow()
{
    show();
    raise();
    paintNow();
}

void TFAguarde::setProgress(const QString &text)
{
    L1->setText(text);
    paintNow();
}

void TFAguarde::closeNow()
{
    hide();
    L1->clear();
}

void TFAguarde::paintNow()
{
    // Let the window system map and expose the window; the operator's keys and clicks wait until
    // the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

namespace aguarde {

void show()
{
    if (FAguarde)
        FAguarde->showNow();
}

void progress(const QString &text)
{
    if (FAguarde)
        FAguarde->setProgress(text);
}

void close()
{
    if (FAguarde)
        FAguarde->closeNow();
}

}  // namespace aguarde
