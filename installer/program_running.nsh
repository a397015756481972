; A running Corvane holds its file open and would keep the old program, or
; write its last values after the uninstaller is gone. The program's
; single-instance token tells whether it runs for this user.

!define INSTANCE_MUTEX "Local\Tamberlo.Corvane.Instance"
!define SYNCHRONIZE 0x00100000

; Asks the user to end the program until it has ended; Cancel (and a silent
; run, which cannot ask) stops the setup or uninstall before anything changed.
!macro WAIT_UNTIL_PROGRAM_ENDS
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .r0'
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    System::Call 'kernel32::CloseHandle(p r0)'
    ${IfCmd} MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Corvane is running. Please end it (Exit in its menu), then click Retry." /SD IDCANCEL IDCANCEL ${||} Abort ${|}
  ${Loop}
!macroend
