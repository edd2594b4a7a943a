; A plain-text log of what a setup or uninstall program did, for the
; administrator who deployed it silently and saw nothing on the screen.
;
;   !insertmacro LogInit "Name-setup.log"   in .onInit / un.onInit: takes
;       /LOG=<file> from the command line, else the file of that name in the
;       temporary folder (C:\Windows\Temp for the system account), and
;       writes a header with the date, the version and the command line
;   ${Log} "text"                            one line, also shown in the
;       details list of the progress page
;
; Runs append, so the log of a deployment keeps every attempt. Needs
; PRODUCT_NAME and VERSION defined.
!ifndef INSTALLLOG_NSH
!define INSTALLLOG_NSH

!include FileFunc.nsh
!include LogicLib.nsh

Var LogFile
Var CommandLine

!macro INSTALLLOG_FUNCTIONS un
Function ${un}LogWrite
  Exch $0
  Push $1
  DetailPrint "$0"
  ${If} $LogFile != ""
    ClearErrors
    FileOpen $1 "$LogFile" a
    ${IfNot} ${Errors}
      FileSeek $1 0 END
      FileWrite $1 "$0$\r$\n"
      FileClose $1
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Stack: the default file name. Sets $LogFile and $CommandLine.
Function ${un}LogInit
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  ${GetParameters} $CommandLine
  ClearErrors
  ${GetOptions} "$CommandLine" "/LOG=" $1
  ${If} ${Errors}
  ${OrIf} $1 == ""
    StrCpy $LogFile "$TEMP\$0"
  ${Else}
    GetFullPathName $LogFile "$1"
    ${If} $LogFile == ""
      StrCpy $LogFile "$1"
    ${EndIf}
  ${EndIf}
  ${GetTime} "" "L" $1 $2 $3 $4 $5 $6 $0
  Push "==== ${PRODUCT_NAME} ${VERSION} $EXEFILE, $3-$2-$1 $5:$6:$0, command line: $CommandLine"
  Call ${un}LogWrite
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

!insertmacro INSTALLLOG_FUNCTIONS ""
!insertmacro INSTALLLOG_FUNCTIONS "un."

!macro LogInit defaultName
  Push "${defaultName}"
  !ifdef __UNINSTALL__
    Call un.LogInit
  !else
    Call LogInit
  !endif
!macroend

; The text may hold double quotes (it is pushed in backquotes).
!macro LogLine text
  Push `${text}`
  !ifdef __UNINSTALL__
    Call un.LogWrite
  !else
    Call LogWrite
  !endif
!macroend
!define Log "!insertmacro LogLine"

!endif
