#pragma once

#include <memory>

#include "common/page.h"

namespace Ui {
class CChecksumPage;
}

class CChecksumPage : public CPage {
    Q_OBJECT
public:
    explicit CChecksumPage(QWidget* parent = nullptr);
    ~CChecksumPage() override;

private:
    std::unique_ptr<Ui::CChecksumPage> ui;
};
