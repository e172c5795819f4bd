// The nine custom actions as the installer calls them: by name, with the install handle, under
// the system's calling convention. No exception may cross into the installer.
#include "setup/Actions.h"
#include "setup/windows/WindowsServices.h"

#include <windows.h>

#include <msi.h>

#include <exception>

namespace {

template<typename Action> UINT guarded(Action action, UINT onFailure)
{
    try {
        return action();
    } catch (const std::exception &) {
        return onFailure;
    }
}

UINT createProps(MSIHANDLE install, const char *table)
{
    return guarded(
        [&] {
            quillon::MsiInstaller installer;
            return quillon::createAccessProps(installer, install, table);
        },
        ERROR_SUCCESS);
}

UINT resolveProps(MSIHANDLE install, const char *suffix)
{
    return guarded(
        [&] {
            quillon::MsiInstaller installer;
            return quillon::resolveAccessProps(installer, install, suffix);
        },
        ERROR_SUCCESS);
}

} // namespace

extern "C" {

UINT __stdcall CreateAccessProps(MSIHANDLE install)
{
    return createProps(install, "ACCESS97");
}

UINT __stdcall CreateAccessPropsDEU(MSIHANDLE install)
{
    return createProps(install, "ACCESS97DEU");
}

UINT __stdcall CreateAccessPropsJPN(MSIHANDLE install)
{
    return createProps(install, "ACCESS97JPN");
}

UINT __stdcall ResolveAccessProps(MSIHANDLE install)
{
    return resolveProps(install, "");
}

UINT __stdcall ResolveAccessPropsDeu(MSIHANDLE install)
{
    return resolveProps(install, "DEU");
}

UINT __stdcall ResolveAccessPropsJpn(MSIHANDLE install)
{
    return resolveProps(install, "JPN");
}

UINT __stdcall RegisterAccess97Typelibs(MSIHANDLE install)
{
    return guarded(
        [&] {
            quillon::MsiInstaller installer;
            quillon::OleTypeLibraries libraries;
            return quillon::registerAccess97Typelibs(installer, libraries, install);
        },
        ERROR_INSTALL_FAILURE);
}

UINT __stdcall SynchronizeProgID(MSIHANDLE)
{
    return guarded(
        [] {
            quillon::WindowsRegistry registry;
            return quillon::synchronizeProgId(registry);
        },
        ERROR_SUCCESS);
}

UINT __stdcall CopyProfileKeys(MSIHANDLE install)
{
    return guarded(
        [&] {
            quillon::MsiInstaller installer;
            quillon::WindowsRegistry registry;
            return quillon::copyProfileKeys(installer, registry, install);
        },
        ERROR_SUCCESS);
}

} // extern "C"
