; Installing and removing files that a running process may hold loaded (a
; network provider is loaded by the router in every program that browses
; the network). Windows refuses to overwrite or delete such a file; it is
; then replaced or removed at the next restart, the reboot flag is set and
; the log says so.
;
;   !insertmacro InstallFile "/path/at/build/time/Name.dll" "Name.dll"
;       into $OUTDIR. An installed file of the same size and time as the
;       packaged one is left alone, so installing the same version again
;       neither touches it nor asks for a restart.
;   !insertmacro RemoveFile "$INSTDIR\Name.dll"
;   !insertmacro RemoveFolder "$INSTDIR"   only when empty (or emptied at
;       the restart); a folder that holds files of others stays.
;   Call un.RemoveUninstaller   removes $INSTDIR\Uninstall.exe, which the
;       uninstaller's copy in the temporary folder runs beside.
;
; Needs InstallLog.nsh.
!ifndef INSTALLEDFILES_NSH
!define INSTALLEDFILES_NSH

!include LogicLib.nsh

!macro INSTALLEDFILES_FUNCTIONS un
; Out: size in bytes and last write time ("high low") of a file, or "" "".
Function ${un}FileStamp
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 ""
  ClearErrors
  FileOpen $1 "$0" r
  ${IfNot} ${Errors}
    FileSeek $1 0 END $3
    FileClose $1
  ${EndIf}
  ClearErrors
  GetFileTime "$0" $1 $2
  ${If} ${Errors}
    StrCpy $0 ""
  ${Else}
    StrCpy $0 "$3 $1 $2"
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Stack: the file's name in $OUTDIR; "<name>.new" beside it holds the
; packaged file.
Function ${un}PlaceNewFile
  Exch $0
  Push $1
  Push $2
  Push "$OUTDIR\$0"
  Call ${un}FileStamp
  Pop $1
  Push "$OUTDIR\$0.new"
  Call ${un}FileStamp
  Pop $2
  ${If} $1 != ""
  ${AndIf} $1 == $2
    Delete "$OUTDIR\$0.new"
    ${Log} "Unchanged: $OUTDIR\$0 (the same file is installed)"
  ${Else}
    ClearErrors
    ${If} ${FileExists} "$OUTDIR\$0"
      Delete "$OUTDIR\$0"
    ${EndIf}
    ${If} ${FileExists} "$OUTDIR\$0"
      Rename /REBOOTOK "$OUTDIR\$0.new" "$OUTDIR\$0"
      ${Log} "In use: $OUTDIR\$0 is replaced at the next restart"
    ${Else}
      ClearErrors
      Rename "$OUTDIR\$0.new" "$OUTDIR\$0"
      ${If} ${Errors}
        ${Fail} "Could not install $OUTDIR\$0."
      ${EndIf}
      ${Log} "Installed: $OUTDIR\$0"
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function ${un}RemoveFileFn
  Exch $0
  ${If} ${FileExists} "$0"
    ClearErrors
    Delete "$0"
    ${If} ${FileExists} "$0"
      Delete /REBOOTOK "$0"
      ${Log} "In use: $0 is removed at the next restart"
    ${Else}
      ${Log} "Removed: $0"
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd

Function ${un}RemoveFolderFn
  Exch $0
  ${If} ${FileExists} "$0\*.*"
    ClearErrors
    RMDir "$0"
    ${If} ${FileExists} "$0\*.*"
      ${If} ${RebootFlag}
        RMDir /REBOOTOK "$0"
        ${Log} "The folder $0 is removed at the next restart"
      ${Else}
        ${Log} "Kept the folder $0: it holds files that were not installed here"
      ${EndIf}
    ${Else}
      ${Log} "Removed: $0"
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd
!macroend

!insertmacro INSTALLEDFILES_FUNCTIONS ""
!insertmacro INSTALLEDFILES_FUNCTIONS "un."

!macro InstallFile source name
  File "/oname=${name}.new" "${source}"
  Push "${name}"
  Call PlaceNewFile
!macroend

!macro RemoveFile path
  Push "${path}"
  !ifdef __UNINSTALL__
    Call un.RemoveFileFn
  !else
    Call RemoveFileFn
  !endif
!macroend

!macro RemoveFolder path
  Push "${path}"
  !ifdef __UNINSTALL__
    Call un.RemoveFolderFn
  !else
    Call RemoveFolderFn
  !endif
!macroend

; The copy in the temporary folder starts while Uninstall.exe may still be
; ending: give it a moment before falling back to removal at restart.
Function un.RemoveUninstaller
  StrCpy $0 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
      ${Log} "Removed: $INSTDIR\Uninstall.exe"
      Return
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 > 50
      ${ExitDo}
    ${EndIf}
    Sleep 100
  ${Loop}
  !insertmacro RemoveFile "$INSTDIR\Uninstall.exe"
FunctionEnd

!endif
