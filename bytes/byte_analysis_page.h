#pragma once

#include <memory>

#include "common/page.h"

namespace Ui {
class CByteAnalysisPage;
}

class CByteAnalysisPage : public CPage {
    Q_OBJECT
public:
    explicit CByteAnalysisPage(QWidget* parent = nullptr);
    ~CByteAnalysisPage() override;

private:
    std::unique_ptr<Ui::CByteAnalysisPage> ui;
};
