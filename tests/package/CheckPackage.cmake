# Checks the Debian package that "make package" left in PACKAGE_DIR without installing it: the
# files it must hold, its dependencies, and that its obrenta-report prints the sample's report
# exactly as the build tree's does. Skipped when no package (or only one older than the build)
# is there.
file(GLOB debs ${PACKAGE_DIR}/obrenta_*.deb)
if(NOT debs)
  message("SKIP: no package built (make package)")
  return()
endif()
list(GET debs 0 deb)
if(NOT "${deb}" IS_NEWER_THAN "${REPORT}")
  message("SKIP: ${deb} is older than the build (make package)")
  return()
endif()

execute_process(COMMAND dpkg-deb -c ${deb} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c ${deb} failed")
endif()
set(expected
    ./usr/bin/obrenta ./usr/bin/obrenta-report
    ./usr/share/applications/obrenta.desktop
    ./usr/share/icons/hicolor/scalable/apps/obrenta.svg
    ./usr/share/icons/hicolor/48x48/apps/obrenta.png
    ./usr/share/icons/hicolor/256x256/apps/obrenta.png
    ./usr/share/metainfo/org.example.Obrenta.metainfo.xml
    ./usr/share/doc/obrenta/Obrenta.html ./usr/share/doc/obrenta/changelog.gz
    ./usr/share/doc/obrenta/copyright
    ./usr/share/man/man1/obrenta.1.gz ./usr/share/man/man1/obrenta-report.1.gz)
foreach(path IN LISTS expected)
  string(FIND "${listing}" " ${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${deb} lacks ${path}")
  endif()
endforeach()

# Nothing outside /usr, so that removing the package leaves nothing behind (the settings live in
# each user's home).
string(REGEX MATCHALL " \\./[^\n]*" paths "${listing}")
foreach(path IN LISTS paths)
  if(NOT path MATCHES "^ \\./(usr/.*)?$")
    message(FATAL_ERROR "${deb} installs outside /usr:${path}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -f ${deb} Recommends OUTPUT_VARIABLE recommends)
if(NOT recommends MATCHES "qt6-translations-l10n")
  message(FATAL_ERROR "${deb} does not recommend Qt's translations: ${recommends}")
endif()
execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
foreach(dependency fonts-ipafont-gothic libqt6widgets6 libqt6svg6)
  string(FIND "${depends}" "${dependency}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${deb} does not depend on ${dependency}: ${depends}")
  endif()
endforeach()

set(root ${WORK_DIR}/package-root)
file(REMOVE_RECURSE ${root})
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x ${deb} failed")
endif()
file(READ ${root}/usr/share/doc/obrenta/copyright copyright)
if(NOT copyright MATCHES "^Format: .*\nLicense: MIT\n Permission is hereby granted")
  message(FATAL_ERROR "the copyright file does not give the MIT licence:\n${copyright}")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                          ${root}/usr/share/metainfo/org.example.Obrenta.metainfo.xml
                  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the AppStream file does not validate: ${out}")
  endif()
endif()

foreach(program ${REPORT} ${root}/usr/bin/obrenta-report)
  execute_process(COMMAND ${program} --settings Obrenta.ini WORKING_DIRECTORY ${CASE_DIR}
                  OUTPUT_VARIABLE report RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} exited with ${rc}")
  endif()
  list(APPEND reports "${report}")
endforeach()
list(GET reports 0 built)
list(GET reports 1 packaged)
if(NOT built STREQUAL packaged)
  message(FATAL_ERROR "the packaged obrenta-report prints another report than the build tree's")
endif()
file(REMOVE_RECURSE ${root})
