; Registering the network provider with the provider router: its service
; key (HKLM\SYSTEM\CurrentControlSet\Services\<name>\NetworkProvider) and its
; entry in the router's order, one comma-separated value that every
; provider of the machine shares. The order is read and the new value
; worked out before anything changes; a value this program cannot hold
; whole (longer than COMMALIST_MAX_CHARS) or that is no text is
; refused, never cut short.
;
; HwOrder holds the same list on some Windows versions: it is changed only
; where it already exists.
!ifndef NETWORKPROVIDER_NSH
!define NETWORKPROVIDER_NSH

!include LogicLib.nsh
!include CommaList.nsh

!define SERVICES_KEY "SYSTEM\CurrentControlSet\Services"
!define ORDER_KEY "SYSTEM\CurrentControlSet\Control\NetworkProvider\Order"
!define HWORDER_KEY "SYSTEM\CurrentControlSet\Control\NetworkProvider\HwOrder"
!define ORDER_VALUE "ProviderOrder"

; What is planned for the two order values: the list before and after,
; and whether the value exists ("missing", "ok"). The change is written
; only when "after" differs from "before" (Changed = 1).
Var OrderState
Var OrderBefore
Var OrderAfter
Var OrderChanged
Var HwOrderState
Var HwOrderBefore
Var HwOrderAfter
Var HwOrderChanged

!macro NETWORKPROVIDER_FUNCTIONS un
; Stack in: key. Out (top first): state ("missing", "ok" or "unreadable"),
; list.
Function ${un}ReadOrderValue
  Exch $0
  Push $1
  Push $2
  Push $3
  ClearErrors
  ReadRegStr $1 HKLM "$0" "${ORDER_VALUE}"
  ${If} ${Errors}
    ; Missing, or there but not readable whole as text: look for the name.
    StrCpy $2 "missing"
    StrCpy $3 0
    ${Do}
      ClearErrors
      EnumRegValue $1 HKLM "$0" $3
      ${If} ${Errors}
      ${OrIf} $1 == ""
        ${ExitDo}
      ${EndIf}
      ${If} $1 == "${ORDER_VALUE}"
        StrCpy $2 "unreadable"
        ${ExitDo}
      ${EndIf}
      IntOp $3 $3 + 1
    ${Loop}
    StrCpy $1 ""
  ${Else}
    StrCpy $2 "ok"
  ${EndIf}
  StrCpy $0 $1
  StrCpy $1 $2
  Pop $3
  Pop $2
  Exch $1
  Exch
  Exch $0
  Exch
FunctionEnd

; Stack in: state, list. Fails the run on an order that cannot be read.
Function ${un}RefuseUnreadableOrder
  Exch $0
  Exch
  Exch $1
  ${If} $1 == "unreadable"
    ${Fail} "The network provider order (HKLM\$0, ${ORDER_VALUE}) is not text or is longer than ${COMMALIST_MAX_CHARS} characters, which this program cannot change without cutting it short. Nothing was changed."
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend

!insertmacro NETWORKPROVIDER_FUNCTIONS ""
!insertmacro NETWORKPROVIDER_FUNCTIONS "un."

!macro ReadOrderInto key state list
  Push "${key}"
  !ifdef __UNINSTALL__
    Call un.ReadOrderValue
  !else
    Call ReadOrderValue
  !endif
  Pop ${state}
  Pop ${list}
  Push ${state}
  Push "${key}"
  !ifdef __UNINSTALL__
    Call un.RefuseUnreadableOrder
  !else
    Call RefuseUnreadableOrder
  !endif
!macroend

; Works out OrderAfter / HwOrderAfter with the provider added.
!macro PlanProviderAdded provider
  !insertmacro ReadOrderInto "${ORDER_KEY}" $OrderState $OrderBefore
  !insertmacro ReadOrderInto "${HWORDER_KEY}" $HwOrderState $HwOrderBefore
  !insertmacro PlanAddTo "${ORDER_KEY}" "${provider}" $OrderState $OrderBefore $OrderAfter $OrderChanged
  ${If} $HwOrderState == "ok"
    !insertmacro PlanAddTo "${HWORDER_KEY}" "${provider}" $HwOrderState $HwOrderBefore $HwOrderAfter $HwOrderChanged
  ${Else}
    StrCpy $HwOrderChanged 0
  ${EndIf}
!macroend

!macro PlanAddTo key provider state before after changed
  ${If} ${state} == "missing"
    StrCpy ${after} "${provider}"
    StrCpy ${changed} 1
  ${Else}
    ${CommaListHas} $0 "${before}" "${provider}"
    ${If} $0 == 1
      StrCpy ${after} "${before}"
      StrCpy ${changed} 0
    ${Else}
      ${CommaListFits} $0 "${before}" "${provider}"
      ${If} $0 != 1
        ${Fail} "The network provider order (HKLM\${key}, ${ORDER_VALUE}) is too long to add ${provider} to it (it would be longer than ${COMMALIST_MAX_CHARS} characters). Nothing was changed."
      ${EndIf}
      ${CommaListAppend} ${after} "${before}" "${provider}"
      StrCpy ${changed} 1
    ${EndIf}
  ${EndIf}
!macroend

; Works out OrderAfter / HwOrderAfter with the provider taken out.
!macro PlanProviderRemoved provider
  !insertmacro ReadOrderInto "${ORDER_KEY}" $OrderState $OrderBefore
  !insertmacro ReadOrderInto "${HWORDER_KEY}" $HwOrderState $HwOrderBefore
  !insertmacro PlanRemoveFrom "${provider}" $OrderState $OrderBefore $OrderAfter $OrderChanged
  !insertmacro PlanRemoveFrom "${provider}" $HwOrderState $HwOrderBefore $HwOrderAfter $HwOrderChanged
!macroend

!macro PlanRemoveFrom provider state before after changed
  StrCpy ${changed} 0
  StrCpy ${after} "${before}"
  ${If} ${state} == "ok"
    ${CommaListHas} $0 "${before}" "${provider}"
    ${If} $0 == 1
      ${CommaListRemove} ${after} "${before}" "${provider}"
      StrCpy ${changed} 1
    ${EndIf}
  ${EndIf}
!macroend

!macro WritePlannedOrder key before after changed
  ${If} ${changed} == 1
    ClearErrors
    WriteRegStr HKLM "${key}" "${ORDER_VALUE}" "${after}"
    ${If} ${Errors}
      ${Fail} "Could not write the network provider order (HKLM\${key}, ${ORDER_VALUE})."
    ${EndIf}
    ${Log} `Network provider order (HKLM\${key}): "${before}" -> "${after}"`
  ${Else}
    ${Log} `Network provider order (HKLM\${key}) unchanged: "${before}"`
  ${EndIf}
!macroend

!macro WritePlannedOrders
  !insertmacro WritePlannedOrder "${ORDER_KEY}" $OrderBefore $OrderAfter $OrderChanged
  ${If} $HwOrderState == "ok"
    !insertmacro WritePlannedOrder "${HWORDER_KEY}" $HwOrderBefore $HwOrderAfter $HwOrderChanged
  ${EndIf}
!macroend

!endif
