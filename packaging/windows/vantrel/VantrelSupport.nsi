; Vantrel Support for 64-bit Windows: LIBKORVANT.dll and the network
; provider VTRELNP.dll, registered with the provider router.
;
; Built by packaging/windows/CMakeLists.txt:
;   makensis -DVERSION=x.y.z -DOUTFILE=... -DLIBKORVANT_DLL=... -DVTRELNP_DLL=...
;
; Command line (see README.md, "Installing the Vantrel network provider"):
;   setup.exe [/S] [/LOG=file] [/D=folder]      install
;   setup.exe [/S] [/LOG=file] [/PURGE] /UNINSTALL
;                                               remove, waiting for the end
;   Uninstall.exe [/S] [/LOG=file] [/PURGE]     remove (what the Apps list runs)
Unicode true
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT_NAME "Vantrel Support"
!define PUBLISHER "Korva"
!define UNINSTALL_KEY "VantrelSupport"
!define PROVIDER "vtrelnp"
!define PROVIDER_NAME "Vantrel Dynamic Views"
!define PROVIDER_CLASS 1 ; WN_NETWORK_CLASS
!define PRODUCT_KEY "Software\Korva\Vantrel"
!define COMPANY_KEY "Software\Korva"
!define SETUP_LOG "VantrelSupport-setup.log"
!define UNINSTALL_LOG "VantrelSupport-uninstall.log"

!addincludedir "${__FILEDIR__}\..\include"
; The shared includes define each function for the setup and the uninstall
; part; a part that does not call one gets it dropped, which is no fault.
!pragma warning disable 6010
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include InstallLog.nsh
!include ExitCodes.nsh
!include InstalledFiles.nsh
!include UninstallEntry.nsh
!define UNINSTALL_PASSED_OPTION "/PURGE"
!include UninstallInPlace.nsh
!include NetworkProvider.nsh

Name "${PRODUCT_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vantrel Support"
InstallDirRegKey HKLM "${UNINSTALL_ROOT}\${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey ProductName "${PRODUCT_NAME}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT_NAME} ${VERSION} setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

!define NEXT_LOGON_TEXT "Windows uses the network provider $\"${PROVIDER_NAME}$\" from the next logon: sign out and sign in again, or restart Windows, before the Vantrel drives and \\view names appear."

!define MUI_ABORTWARNING
!define MUI_CUSTOMFUNCTION_ABORT OnCancel
!define MUI_UNABORTWARNING
!define MUI_CUSTOMFUNCTION_UNABORT un.OnCancel
!define MUI_WELCOMEPAGE_TEXT "This installs LIBKORVANT.dll and the network provider VTRELNP.dll of Vantrel for all users of this computer, and registers the provider $\"${PROVIDER_NAME}$\" with Windows. The other network providers stay as they are.$\r$\n$\r$\nThe product's own programs, its other libraries and the dlfs driver are not part of it.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
; The details list shows what changed (the order before and after).
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT_NAME} ${VERSION} is installed in $INSTDIR.$\r$\n$\r$\n${NEXT_LOGON_TEXT}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var PreviousDir

; ---------------------------------------------------------------- install

Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro LogInit "${SETUP_LOG}"
  !insertmacro RequireAdmin
  !insertmacro UninstallOnRequest
FunctionEnd

Section "${PRODUCT_NAME}" SecMain
  SectionIn RO
  ${Log} "Installing into $INSTDIR"
  ; Everything that could refuse is read before anything changes.
  !insertmacro PlanProviderAdded "${PROVIDER}"
  !insertmacro ReadInstallLocation "${UNINSTALL_KEY}" $PreviousDir

  SetOutPath "$INSTDIR"
  !insertmacro InstallFile "${LIBKORVANT_DLL}" "LIBKORVANT.dll"
  !insertmacro InstallFile "${VTRELNP_DLL}" "VTRELNP.dll"
  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    ${Fail} "Could not write $INSTDIR\Uninstall.exe."
  ${EndIf}

  ; The service key first: the router never meets an order entry without it.
  ClearErrors
  WriteRegExpandStr HKLM "${SERVICES_KEY}\${PROVIDER}\NetworkProvider" "ProviderPath" "$INSTDIR\VTRELNP.dll"
  WriteRegStr HKLM "${SERVICES_KEY}\${PROVIDER}\NetworkProvider" "Name" "${PROVIDER_NAME}"
  WriteRegDWORD HKLM "${SERVICES_KEY}\${PROVIDER}\NetworkProvider" "Class" ${PROVIDER_CLASS}
  ${If} ${Errors}
    ${Fail} "Could not register the network provider under HKLM\${SERVICES_KEY}\${PROVIDER}."
  ${EndIf}
  ${Log} "Registered the network provider: HKLM\${SERVICES_KEY}\${PROVIDER}\NetworkProvider, ProviderPath $INSTDIR\VTRELNP.dll"
  !insertmacro WritePlannedOrders

  !insertmacro WriteUninstallEntry "${UNINSTALL_KEY}" "${PRODUCT_NAME}" "${PUBLISHER}"
  Call RemovePreviousCopy
  ${Log} "${NEXT_LOGON_TEXT}"
SectionEnd

; A second install into another folder moves the provider there.
Function RemovePreviousCopy
  ${If} $PreviousDir == ""
    Return
  ${EndIf}
  GetFullPathName $0 "$PreviousDir"
  GetFullPathName $1 "$INSTDIR"
  ${If} $0 == ""
  ${OrIf} $0 == $1
    Return
  ${EndIf}
  ${Log} "Removing the earlier installation in $0"
  !insertmacro RemoveFile "$0\VTRELNP.dll"
  !insertmacro RemoveFile "$0\LIBKORVANT.dll"
  !insertmacro RemoveFile "$0\Uninstall.exe"
  !insertmacro RemoveFolder "$0"
FunctionEnd

Function .onInstSuccess
  !insertmacro EndRun
FunctionEnd

Function .onInstFailed
  !insertmacro FailedRun
FunctionEnd

Function OnCancel
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
  ${Log} "Exit code ${EXIT_CANCELLED}"
FunctionEnd

; -------------------------------------------------------------- uninstall

Section "un.${PRODUCT_NAME}" SecUnMain
  SectionIn RO
  ${Log} "Removing the installation in $INSTDIR"
  !insertmacro PlanProviderRemoved "${PROVIDER}"
  !insertmacro WritePlannedOrders
  DeleteRegKey HKLM "${SERVICES_KEY}\${PROVIDER}"
  ${Log} "Removed the network provider's key: HKLM\${SERVICES_KEY}\${PROVIDER}"

  !insertmacro RemoveFile "$INSTDIR\VTRELNP.dll"
  !insertmacro RemoveFile "$INSTDIR\LIBKORVANT.dll"
  ; Started in its own folder (setup.exe /UNINSTALL, or _?=), the
  ; uninstaller runs from Uninstall.exe itself, which its starter removes.
  GetFullPathName $0 "$EXEDIR"
  GetFullPathName $1 "$INSTDIR"
  ${If} $0 != $1
    Call un.RemoveUninstaller
    !insertmacro RemoveFolder "$INSTDIR"
  ${EndIf}
  !insertmacro DeleteUninstallEntry "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Vantrel settings (the product's registry parameters)" SecUnSettings
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "${COMPANY_KEY}"
  DeleteRegKey HKCU "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
  ${Log} "Removed the Vantrel settings: HKLM\${PRODUCT_KEY} and this user's HKCU\${PRODUCT_KEY}"
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro LogInit "${UNINSTALL_LOG}"
  !insertmacro RequireAdmin
  ClearErrors
  ${GetOptions} "$CommandLine" "/PURGE" $0
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd

Function un.onUninstSuccess
  !insertmacro EndRun
FunctionEnd

Function un.onUninstFailed
  !insertmacro FailedRun
FunctionEnd

Function un.OnCancel
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
  ${Log} "Exit code ${EXIT_CANCELLED}"
FunctionEnd
