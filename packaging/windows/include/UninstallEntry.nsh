; The entry under "Apps" / "Programs and Features", kept in the 64-bit
; registry view: where the product is installed, how to remove it (also
; silently) and its version. A second install writes the same values again.
;
;   !insertmacro WriteUninstallEntry "KeyName" "Display name" "Publisher"
;       after WriteUninstaller "$INSTDIR\Uninstall.exe"
;   !insertmacro ReadInstallLocation "KeyName" $out   "" when not installed
;   !insertmacro DeleteUninstallEntry "KeyName"
;
; Needs VERSION defined and InstallLog.nsh.
!ifndef UNINSTALLENTRY_NSH
!define UNINSTALLENTRY_NSH

!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"

!macro WriteUninstallEntry key displayName publisher
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "DisplayName" "${displayName}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "Publisher" "${publisher}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${key}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${key}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${key}" "NoRepair" 1
  Push $0
  Push $1
  Push $2
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${key}" "EstimatedSize" $0
  Pop $2
  Pop $1
  Pop $0
  ${Log} "Listed under installed programs: HKLM\${UNINSTALL_ROOT}\${key}"
!macroend

!macro ReadInstallLocation key out
  ClearErrors
  ReadRegStr ${out} HKLM "${UNINSTALL_ROOT}\${key}" "InstallLocation"
  ClearErrors
!macroend

!macro DeleteUninstallEntry key
  DeleteRegKey HKLM "${UNINSTALL_ROOT}\${key}"
  ${Log} "Removed the entry under installed programs: HKLM\${UNINSTALL_ROOT}\${key}"
!macroend

!endif
