#pragma once

#include <memory>

#include "common/page.h"

namespace Ui {
class CConversionPage;
}

class CConversionPage : public CPage {
    Q_OBJECT
public:
    explicit CConversionPage(QWidget* parent = nullptr);
    ~CConversionPage() override;

private:
    std::unique_ptr<Ui::CConversionPage> ui;
};
