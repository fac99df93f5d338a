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
    const bool changed = CGameHexMarks::CheckFilesChanged();
    return m_parameterFileTime.CheckChanged() || changed;
}

String CGameOrders::LocateParameterFile() const { return LocateThemedFile(kParameterFileName); }

const char* CGameOrders::LoadParameterFile()
{
    const String name = LocateParameterFile();
    const auto time = m_parameterFileTime.Watch(name.view());
    if (m_parameterFileTime.Holds(name.view(), time))
        return nullptr;
    if (const char* error = m_parameters.ReadParameterFile(name.view()))
        return error;
    m_parameterFileTime.Hold(name.view(), time);
    return nullptr;
}
