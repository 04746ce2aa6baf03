#include "app/frmAbout.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ClickableLabel.hpp"
#include "app/Maker.hpp"
#include "app/Twips.hpp"
#include "app/frmDonation.hpp"
#include "support/Version.hpp"

namespace brimtor {

namespace {
constexpr int kCreditAreaHeight = 2000;  // twips; lines are shown only above this
constexpr int kCreditRestart = 3000;
constexpr int kCreditStep = 50;
}  // namespace

static bool CreditShown(int top)
{
    return top < kCreditAreaHeight;
}

CreditStep ScrollCredit(int top)
{
    top -= kCreditStep;
    if (top < 0)
        top = kCreditRestart;
    return {top, CreditShown(top)};
}

frmAbout::frmAbout(QWidget* parent, int scrollIntervalMs)
    : QDialog(parent)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));

    auto* version = new QLabel(QString::fromLatin1(kProgramTitle) + " Version: " + QLatin1String(kVersionText), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* creditArea = new QWidget(this);
    creditArea->setObjectName(QStringLiteral("picCredits"));
    creditArea->setMinimumSize(TwipsToPixels(this, 4500), TwipsToPixels(this, kCreditAreaHeight));
    const QString lines[] = {QStringLiteral("Created By: Quorv"),
                             QStringLiteral("Quorv Application Design Team"),
                             QString::fromLatin1(maker::kWebSite), QStringLiteral("2008 - 2026")};
    for (std::size_t i = 0; i < m_credits.size(); ++i) {
        m_credits[i] = new QLabel(lines[i], creditArea);
        m_credits[i]->setObjectName(QStringLiteral("Label1_%1").arg(i + 1));
        PlaceCredit(i);
    }

    auto* email = new ClickableLabel(QString::fromLatin1(maker::kSupportAddress), this);
    email->setObjectName(QStringLiteral("lblEmail"));
    connect(email, &ClickableLabel::clicked, this, [] { OpenEmail(); });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();  // Enter closes; the e-mail link is a Tab away
    auto* donation = new QPushButton(QStringLiteral("Donationware"), this);
    donation->setObjectName(QStringLiteral("cmdDonation"));
    connect(donation, &QPushButton::clicked, this, [this] {
        frmDonation dialog(this);
        dialog.exec();
    });

    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(new QLabel(QStringLiteral("Email"), this));
    emailRow->addWidget(email, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(donation);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(version);
    layout->addWidget(creditArea);
    layout->addLayout(emailRow);
    layout->addLayout(buttons);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &QTimer::timeout, this, &frmAbout::ScrollCredits);
    m_timer->start(scrollIntervalMs);
}

void frmAbout::SetCreditTop(std::size_t line, int top)
{
    m_tops.at(line) = top;
    PlaceCredit(line);
}

void frmAbout::PlaceCredit(std::size_t line)
{
    m_credits[line]->move(0, TwipsToPixels(this, m_tops[line]));
    m_credits[line]->setVisible(CreditShown(m_tops[line]));
}

void frmAbout::ScrollCredits()
{
    for (std::size_t i = 0; i < m_tops.size(); ++i) {
        m_tops[i] = ScrollCredit(m_tops[i]).top;
        PlaceCredit(i);
    }
}

}  // namespace brimtor
