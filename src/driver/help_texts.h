// The fixed texts of the console: the banner, the prompt, the command-line help and the
// version.
#pragma once

namespace fexpr::driver {

constexpr char banner_text[] =
    "Calculate the value of a function expression.\n"
    "Support (),+,-,*,x,/,%,^,&,|,@,{,},Pi,sin,cos,tan,sqrt,arcsin,arccos,arctan,lg,ln,exp,"
    "ceil,floor,round,sign,abs,d2r,r2d,k,m,g,t,p,K,M,G,T,P,shift{l|a|r}{l|r}{ss}{ee|lnn}{sh}\n";

constexpr char prompt_text[] = "Please input a function expression:\n";

constexpr char help_text[] =
    "Calculate the value of a function expression given by >=1 command-line parameter.\n"
    "Support (),+,-,*,x,/,%,^,&,|,@,{,},Pi,sin,cos,tan,sqrt,arcsin,arccos,arctan,\n"
    "lg,ln,exp,ceil,floor,round,sign,abs,d2r,r2d,k,m,g,t,p,K,M,G,T,P\n"
    "The last parameter format:\n"
    " .0-.15  Round to 0-15 decimal places\n"
    " g1-g15  Retain 1-15 significant figures\n"
    " e0-e15  Scientific notation with 0-15 decimal places\n"
    " x       Hexadecimal format\n"
    " x_      Hexadecimal with 2-digit groups\n"
    " b       Binary with 4-bit groups\n"
    " o       Octal with 4-digit groups\n"
    " :       Format as DDD HH:MM:SS.mss\n";

// --help prints the help above, the switches between these two texts, and then the pointer
// to the manual (platform/manual_pointer.h).
constexpr char switches_heading_text[] = "Switches, before everything else:\n";
constexpr char switches_end_text[] = " --                       end of the switches\n";

#ifndef FEXPR_VERSION
#error "FEXPR_VERSION must name the project version"
#endif
constexpr char version_text[] = "fexpr " FEXPR_VERSION "\n";

}  // namespace fexpr::driver
