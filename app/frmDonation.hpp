#pragma once

#include <QDialog>

namespace brimtor {

// Asks for a donation and opens the payment service's checkout page for the maker.
class frmDonation : public QDialog {
    Q_OBJECT
public:
    explicit frmDonation(QWidget* parent = nullptr);
};

}  // namespace brimtor
