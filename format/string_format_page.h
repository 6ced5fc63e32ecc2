#pragma once

#include <memory>

#include "common/page.h"

namespace Ui {
class CStringFormatPage;
}

class CStringFormatPage : public CPage {
    Q_OBJECT
public:
    explicit CStringFormatPage(QWidget* parent = nullptr);
    ~CStringFormatPage() override;

private:
    std::unique_ptr<Ui::CStringFormatPage> ui;
};
