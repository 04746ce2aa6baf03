#include "app/frmDonation.hpp"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ClickableLabel.hpp"
#include "app/Maker.hpp"
#include "support/Shell.hpp"

namespace brimtor {

static QLabel* NamedLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

frmDonation::frmDonation(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDonation"));
    setWindowTitle(QStringLiteral("Donationware"));

    auto* frame = new QGroupBox(QStringLiteral("  Quorv "), this);
    auto* inner = new QVBoxLayout(frame);
    QLabel* heading = NamedLabel(QStringLiteral("Support future development"), "Label3", frame);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    inner->addWidget(heading);
    inner->addWidget(NamedLabel(QStringLiteral("Donationware - "), "Label2", frame));
    QLabel* body = NamedLabel(
        QStringLiteral("This application is being distributed as Donationware. "
                       "If you like this application then please consider making a small "
                       "donation to help support the future development of this and other applications."),
        "Label1", frame);
    body->setWordWrap(true);
    inner->addWidget(body);

    const QString texts[] = {QStringLiteral("Donation through PayPal:"),
                             QString::fromLatin1(maker::kPaymentAccount),
                             QStringLiteral("Suggested donation amount: $10.00")};
    for (int i = 0; i < 3; ++i) {
        auto* link = new ClickableLabel(texts[i], frame);
        link->setObjectName(QStringLiteral("Label4_%1").arg(i));
        // Every line leads to the same checkout page.
        connect(link, &ClickableLabel::clicked, this,
                [] { OpenWithShell(maker::DonationCheckoutAddress()); });
        inner->addWidget(link);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    ok->setFocus();  // Enter closes; the links are a Tab away

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace brimtor
