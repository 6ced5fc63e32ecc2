#pragma once
// The data conversion page: a decimal number of one of six types to its bytes and back.

#include <array>
#include <cstdint>
#include <memory>

#include "common/page.h"

namespace Ui {
class CConversionPage;
}
class CHexInput;

class CConversionPage : public CPage {
    Q_OBJECT
public:
    explicit CConversionPage(QWidget* parent = nullptr);
    ~CConversionPage() override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckNumber();
    void ConvertNumberToArray();
    void ConvertArrayToNumber();
    void TakeType();

    std::unique_ptr<Ui::CConversionPage> ui;
    int m_nType = 0;
    std::array<std::uint8_t, 8> m_frame{};
    std::uint8_t m_frameLength = 0;
    CHexInput* m_arrayInput = nullptr;
};
