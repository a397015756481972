; The installation key: the "Product" value of the settings root, which the
; program uses to scramble every stored password. It is written once, from the
; system's cryptographic random source, and never replaced: a new key would
; make every stored password unreadable.
;
; Decimal digits only: the scrambling adds a password character, its key
; character and 66 into one byte, and a digit (at most 57) leaves room for
; every printable ASCII character (at most 126). The password is scrambled
; against the key written twice, so 128 digits hold every password of up to
; 256 characters, the longest the dial-up service takes.

!define PUBLISHER_ROOT "Software\Tamberlo"
!define SETTINGS_ROOT "Software\Tamberlo\Corvane"
!define INSTALL_KEY_DIGITS 128
!define BCRYPT_USE_SYSTEM_PREFERRED_RNG 2

; An empty "Product" is no key: the program refuses to store a password with
; it and asks for a reinstallation, which is what then writes one.
Function WriteInstallKeyOnce
  ReadRegStr $0 HKCU "${SETTINGS_ROOT}" "Product"
  ${If} $0 != ""
    Return
  ${EndIf}
  Call MakeInstallKey
  Pop $0
  WriteRegStr HKCU "${SETTINGS_ROOT}" "Product" "$0"
FunctionEnd

; Pushes INSTALL_KEY_DIGITS random decimal digits. Each draw of 31 random bits
; gives nine digits; draws of 2,000,000,000 and above are thrown away, so every
; digit is equally likely. Without a working random source the setup stops
; rather than write a guessable key.
Function MakeInstallKey
  StrCpy $1 ""
  ${Do}
    StrLen $2 $1
    ${IfThen} $2 >= ${INSTALL_KEY_DIGITS} ${|} ${ExitDo} ${|}
    System::Call 'bcrypt::BCryptGenRandom(p 0, *i .r3, i 4, i ${BCRYPT_USE_SYSTEM_PREFERRED_RNG}) i .r4'
    ${If} $4 != 0
      MessageBox MB_OK|MB_ICONSTOP "Setup cannot make the installation key: the system's random number source failed." /SD IDOK
      Abort
    ${EndIf}
    IntOp $3 $3 & 0x7FFFFFFF
    ${If} $3 < 2000000000
      IntOp $3 $3 % 1000000000
      IntFmt $3 "%09d" $3
      StrCpy $1 "$1$3"
    ${EndIf}
  ${Loop}
  StrCpy $1 $1 ${INSTALL_KEY_DIGITS}
  Push $1
FunctionEnd
