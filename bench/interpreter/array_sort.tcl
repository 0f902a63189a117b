# Array sort: fill a list with scrambled mixed-case texts, sort it ignoring case,
# then read a few elements. Same scramble as our script: x = (x*1031+17) mod 10007.
proc sort_items {} {
    set x 1
    set items {}
    for {set i 0} {$i < 150000} {incr i} {
        set x [expr {($x * 1031 + 17) % 10007}]
        set letter [string index QwErTyUiOpAsDfGhJkLz [expr {$x % 20}]]
        lappend items "$letter$x-$i"
    }
    set items [lsort -nocase $items]
    return "[llength $items]:[lindex $items 0]:[lindex $items 1]:[lindex $items 75000]:[lindex $items 149999]"
}
puts [sort_items]
