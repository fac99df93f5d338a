#include "rules/GameOrders.h"

#include "model/DataFile.h"

CGameOrders::CGameOrders() { LoadParameterFile(); }

const char* CGameOrders::Reload()
{
    if (const char* error = CGameHexMarks::Reload())
        return error;
    return LoadParameterFile();
}

bool CGameOrders::CheckFilesChanged()
{
    bool newer = AreDataFilesNewer();
    if (m_parameterFileTime != 0) {
        auto time = DataFileTime(LocateParameterFile().view());
        if (time && *time > m_parameterFileTime) {
            m_parameterFileTime = *time;
            newer = true;
        }
    }
    return newer;
}

String CGameOrders::LocateParameterFile() const { return LocateThemedFile(kParameterFileName); }

const char* CGameOrders::LoadParameterFile()
{
    const String name = LocateParameterFile();
    const auto time = DataFileTime(name.view());
    if (time)
        m_parameterFileTime = *time;
    if (m_heldParameterFile.IsUnchanged(name.view(), time))
        return nullptr;
    if (const char* error = m_parameters.ReadParameterFile(name.view()))
        return error;
    m_heldParameterFile.Remember(name.view(), time);
    return nullptr;
}
