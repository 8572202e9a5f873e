# SPDX-License-Identifier: MIT
# The NuGet package XVantor (nuget/XVantor.csproj): `cmake --build build --target nuget`
# packs it into build/nuget/ with the version of project(), this build's tool for Linux x64
# and the MinGW build of XV_WINDOWS_EXE for Windows x64. scripts/release.sh packs the
# release's package itself, from its own two builds.

set(XV_WINDOWS_EXE ${PROJECT_SOURCE_DIR}/build-windows/driver/xvantor.exe CACHE FILEPATH
  "The MinGW build of xvantor.exe that the NuGet package carries (scripts/test-windows.sh makes it)")
find_program(XV_DOTNET dotnet)
mark_as_advanced(XV_DOTNET)
if(XV_DOTNET)
  add_custom_target(nuget
    COMMAND ${CMAKE_COMMAND} -E env DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1
      ${XV_DOTNET} pack ${PROJECT_SOURCE_DIR}/nuget/XVantor.csproj -nologo -nodeReuse:false
      --artifacts-path ${PROJECT_BINARY_DIR}/nuget/artifacts -o ${PROJECT_BINARY_DIR}/nuget
      -p:Version=${PROJECT_VERSION} -p:XVantorLinuxX64=$<TARGET_FILE:xvantor>
      -p:XVantorWinX64=${XV_WINDOWS_EXE}
    DEPENDS xvantor
    COMMENT "Packing the NuGet package XVantor ${PROJECT_VERSION}"
    VERBATIM)
endif()
