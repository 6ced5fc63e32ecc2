#pragma once

#include <memory>

#include "common/page.h"

namespace Ui {
class CInfoPage;
}

class CInfoPage : public CPage {
    Q_OBJECT
public:
    explicit CInfoPage(QWidget* parent = nullptr);
    ~CInfoPage() override;

private:
    std::unique_ptr<Ui::CInfoPage> ui;
};
