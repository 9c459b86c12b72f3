; The peer installer for the benchmarks: installs the product folder the
; payload is made of into a fixed folder, silently, and does nothing else.
;   makensis -X"SetCompressor zlib" -DSOURCE=DIR -DTARGET=C:\X -DOUTFILE=F.exe peer.nsi
; Without SOURCE the installer carries no file: its fixed costs alone.
Unicode true
Name "Dormivet"
OutFile "${OUTFILE}"
InstallDir "${TARGET}"
RequestExecutionLevel user
SilentInstall silent

Section
  SetOutPath "$INSTDIR"
!ifdef SOURCE
  File /r "${SOURCE}/*"
!endif
SectionEnd
