#pragma once
// The orders layer: the checks and carrying-out of players' orders, with the
// refusal text of the last failed check, and the battle's parameter data.

#include <cstdint>
#include <string_view>

#include "model/DataFile.h"
#include "model/GameHexMarks.h"
#include "model/ParameterData.h"

class CGameOrders : public CGameHexMarks {
public:
    static constexpr std::string_view kParameterFileName = "main.pdx";

    CGameOrders();
    ~CGameOrders() override = default;

    // The data layer's freshness test, then the parameter file's.
    bool CheckFilesChanged() override;

    // The map's themed parameter file when it exists, else "main.pdx".
    String LocateParameterFile() const;
    // Null, or the parameter file's read error. A missing file is no error
    // and keeps the values held.
    const char* LoadParameterFile();

    const char* m_lastRefusal = nullptr;
    HeldFile m_parameterFileTime;
    ParameterData m_parameters;

protected:
    // The lower layers' reload; when it gave no error, the parameter file.
    const char* Reload() override;
};
